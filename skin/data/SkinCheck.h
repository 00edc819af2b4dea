// The skin check: what a skin author needs to know about a skin, found by reading it exactly as the
// engine does (package reader, TQuickIni, the model's readers) and comparing what the description
// says, line by line, with what the engine makes of it. The engine's reading is not changed by any
// of this: the check only watches it.
//
// Each problem names the file and line it comes from, as compilers do, so that editors can jump to
// it: "FILE:LINE: [Section] Key: message". The message says what is wrong and what the engine uses
// instead. Files are the folder's paths for a skin folder, and the entry names for a package.
//
// Sources: SkinCheck.cpp (entry points, the description's lines and values), SkinCheckImages.cpp
// (images, frames, the caption, contrast), SkinCheckKeys.cpp (what each key is and where the model
// keeps it).
#pragma once

#include <string>
#include <vector>

enum class TSkinProblemLevel {
    Warning, // the skin works, but a line has no effect or the result is poor (unknown keys, contrast)
    Error,   // the engine reads something else than what is written (a default, a clamped value, no image)
};

struct TSkinProblem {
    TSkinProblemLevel Level = TSkinProblemLevel::Error;
    std::string File;    // the file the problem is in
    int Line = 0;        // from 1, as editors count (CR, LF and CR LF each end a line); 0: the whole file
    std::string Section; // as written between the brackets; empty when the problem has none
    std::string Key;     // as written before "="; empty when the problem has none
    std::string Message;

    // "FILE:LINE: [Section] Key: message", leaving out what the problem has not.
    std::string Text() const;
    bool operator==(const TSkinProblem& o) const { return Text() == o.Text() && Level == o.Level; }
};

// The check of a skin package given as its bytes (as stored: 4-byte size, then the LZH code).
// packageName is the file the bytes came from, named in problems of the package as a whole.
std::vector<TSkinProblem> CheckSkinPackage(const std::string& packageBytes, const std::string& packageName);
// The check of an unpacked skin: a folder, or a description file inside one (see SkinFolder.h).
std::vector<TSkinProblem> CheckSkinFolder(const std::string& path);
// A folder or a description file is checked as a folder, anything else as a package file.
std::vector<TSkinProblem> CheckSkinPath(const std::string& path);

// 0 without problems, 1 with warnings only, 2 with any error.
int SkinCheckStatus(const std::vector<TSkinProblem>& problems);
// The first error, else the first warning; null when there is none.
const TSkinProblem* FirstSkinProblem(const std::vector<TSkinProblem>& problems);

// Text against its background needs at least this contrast ratio (relative luminances).
constexpr double kMinTextContrast = 4.5;
// The contrast ratio of two colours (TColor values, no system colours): from 1 to 21.
double ContrastRatio(unsigned colourA, unsigned colourB);
// The thinnest caption the engine can use, in pixels: a skin with less is refused by Tellit.
constexpr int kMinSkinCaption = 8;
