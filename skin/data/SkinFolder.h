// An unpacked skin: a folder holding a description (*.ini) and the bitmaps it names. The engine
// reads a folder by packing it in memory exactly as "skinpack pack" packs it, so a folder, the
// package made of it and the check of either agree entry for entry.
#pragma once

#include <string>
#include <vector>

// What a folder gives a package, in package order: the description first, then every other plain
// file sorted by name (bytes of the UTF-8 name). Names keep their case.
struct TSkinFolder {
    std::string Dir;                  // the folder, as given (a description's folder when a file was given)
    std::vector<std::string> Names;   // file names; Names[0] is the description
    std::vector<std::string> Others;  // further *.ini files, packed as plain entries
    std::vector<std::string> Skipped; // entries that are not plain files (sub-folders and the like)
    // Names that differ from an earlier one only in ASCII case: the engine finds the earlier one.
    std::vector<std::string> CaseTwins;
    std::string Error; // why the folder gives no package; empty when it does
};

// Whether path names a folder, or a description file (*.ini) inside one, rather than a package.
bool IsSkinFolderPath(const std::string& path);
// Lists the folder path names, or the folder of the description file path names (that file is then
// the description, whichever other *.ini files lie beside it). Without a description, or when the
// folder cannot be read, Error says so and Names is empty.
TSkinFolder ListSkinFolder(const std::string& path);
// The folder's files joined into a package (as stored: 4-byte size, then the LZH code). False, with
// error set, when a file cannot be read or the package would be too large.
bool PackSkinFolder(const TSkinFolder& folder, std::string& package, std::string& error);
// dir joined with a file name, with the separator dir already uses ("/" when it has none).
std::string SkinFolderFile(const std::string& dir, const std::string& name);

// The [TitlebarSkin] SkinName of a package (its bytes as stored); empty when it has none or the
// package cannot be read.
std::string SkinNameOfPackage(const std::string& packageBytes);
