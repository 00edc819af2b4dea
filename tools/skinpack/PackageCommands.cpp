// pack, unpack and list: skin packages to and from folders.
#include "tools/skinpack/Commands.h"

#include "skin/data/SkinFolder.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path Path(const std::string& utf8) {
    return fs::u8path(utf8);
}
std::string Utf8(const fs::path& p) {
    return p.u8string();
}

TSkinReader OpenPackage(const std::string& fileName) {
    std::string bytes = ReadInput(fileName);
    TMemoryStream stream;
    stream.Assign(bytes);
    TSkinReader reader;
    if (!reader.Loadfromstream(stream))
        throw ESkinpackError("\"" + fileName +
                             "\" is not a usable skin package: " + SkinReadStatusText(reader.Status()));
    return reader;
}

// The description first, then every other file sorted by name (bytes of the UTF-8 name), so the
// same folder always gives the same package: the packing the engine does for a folder skin.
int RunPack(const Args& args) {
    const std::string& dir = args[0];
    std::error_code ec;
    if (!fs::is_directory(Path(dir), ec)) throw ESkinpackError("\"" + dir + "\" is not a folder");
    const TSkinFolder folder = ListSkinFolder(dir);
    if (!folder.Error.empty()) throw ESkinpackError(folder.Error);
    for (const std::string& name : folder.Skipped)
        std::fprintf(stderr, "skinpack pack: skipping \"%s\": not a plain file\n", name.c_str());
    if (!folder.Others.empty())
        std::fprintf(
            stderr,
            "skinpack pack: using \"%s\" as the description; the other .ini files are packed as plain entries\n",
            folder.Names[0].c_str());
    for (const std::string& name : folder.CaseTwins)
        std::fprintf(stderr,
                     "skinpack pack: \"%s\" differs from an earlier name only in case; readers will not find it\n",
                     name.c_str());
    std::string package, error;
    if (!PackSkinFolder(folder, package, error)) throw ESkinpackError(error);
    WriteOutput(args[1], package);
    return 0;
}

bool SafeEntryName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == '/' || c == '\\' || c == ':') return false;
    return true;
}

int RunUnpack(const Args& args) {
    TSkinReader reader = OpenPackage(args[0]);
    const TStringList& names = reader.StoredNames();
    // Check everything before the first file is written.
    for (int i = 0; i < reader.Count(); ++i) {
        if (!SafeEntryName(names[i])) throw ESkinpackError("entry name \"" + names[i] + "\" is not a plain file name");
        if (!reader.EntryComplete(i)) throw ESkinpackError("entry \"" + names[i] + "\" runs past the package's data");
    }
    std::error_code ec;
    fs::create_directories(Path(args[1]), ec);
    if (ec) throw ESkinpackError("cannot create \"" + args[1] + "\": " + ec.message());
    std::set<std::string> written;
    for (int i = 0; i < reader.Count(); ++i) {
        if (!written.insert(reader.Names()[i]).second) {
            std::fprintf(stderr, "skinpack unpack: skipping a second entry named \"%s\" (readers use the first)\n",
                         names[i].c_str());
            continue;
        }
        TMemoryStream entry;
        reader.readfile(names[i], entry);
        WriteOutput(Utf8(Path(args[1]) / Path(names[i])), entry.Bytes());
    }
    return 0;
}

int RunList(const Args& args) {
    TSkinReader reader = OpenPackage(args[0]);
    int64_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) {
        bool complete = reader.EntryComplete(i);
        std::printf("%10ld  %s%s\n", long(reader.EntrySize(i)), reader.StoredNames()[i].c_str(),
                    complete ? "" : "  (runs past the data)");
        total += reader.EntrySize(i);
    }
    std::printf("%d entries, %lld bytes\n", reader.Count(), (long long)total);
    return 0;
}

const bool registered =
    RegisterCommand({"pack", "DIR OUT", "pack a folder into a skin package", 2, RunPack}) &&
    RegisterCommand({"unpack", "PKG DIR", "write a package's entries into a folder", 2, RunUnpack}) &&
    RegisterCommand({"list", "PKG", "list a package's entries and sizes", 1, RunList});

} // namespace
