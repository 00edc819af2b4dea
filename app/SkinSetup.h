// Tellit's skin: the package stored in the executable, and the "Skin" section of the settings file
// ("File": a package to use instead, absolute or relative to the executable's folder; "Active": 0
// for the system's look).
#pragma once

#include "framework/IniFiles.h"
#include "skin/data/SkinCheck.h"
#include "skin/forms/WinSkinData_win.h"

#include <string>
#include <vector>

// A settings value as a full path: relative ones are taken from the executable's folder.
std::wstring SkinFilePath(const std::wstring& value);
// The thinnest caption a usable skin has, in pixels.
constexpr int kMinCaptionHeight = kMinSkinCaption;
// Whether a skin package file can be read and decoded and gives a caption of at least
// kMinCaptionHeight (nothing else is touched).
bool SkinPackageLoads(const std::wstring& path);
// A skin the "Оформление" menu offers: a package of the skins folder beside the executable.
struct TSkinChoice {
    std::wstring Caption; // the package's skin name, else its file name
    std::wstring Setting; // the value for "Skin"/"File": relative to the executable's folder
};
// The packages (*.skn) of the skins folder, the one the executable stores (tellit.skn) first, the
// others by file name. Empty when there is no such folder.
std::vector<TSkinChoice> ShippedSkins();
// Whether two "Skin"/"File" values name the same file (relative ones from the executable's folder).
bool SameSkinFile(const std::wstring& a, const std::wstring& b);

// Sets up the main form's skin data as the form is read: the stored skin from the executable's
// SKINSTREAM resource, the package of "Skin"/"File" when it loads, and Active from "Skin"/"Active".
// A missing, unreadable or corrupt package leaves the stored skin in place.
void SetUpSkin(TSkinData& skin, const TIniFile& ini);
