// Tellit's skin: the package stored in the executable, and the "Skin" section of the settings file
// ("File": a package to use instead, absolute or relative to the executable's folder; "Active": 0
// for the system's look).
#pragma once

#include "framework/IniFiles.h"
#include "skin/data/SkinCheck.h"
#include "skin/forms/WinSkinData_win.h"

#include <string>

// A settings value as a full path: relative ones are taken from the executable's folder.
std::wstring SkinFilePath(const std::wstring& value);
// The thinnest caption a usable skin has, in pixels.
constexpr int kMinCaptionHeight = kMinSkinCaption;
// Whether a skin package file can be read and decoded and gives a caption of at least
// kMinCaptionHeight (nothing else is touched).
bool SkinPackageLoads(const std::wstring& path);
// Sets up the main form's skin data as the form is read: the stored skin from the executable's
// SKINSTREAM resource, the package of "Skin"/"File" when it loads, and Active from "Skin"/"Active".
// A missing, unreadable or corrupt package leaves the stored skin in place.
void SetUpSkin(TSkinData& skin, const TIniFile& ini);
