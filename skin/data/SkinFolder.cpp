#include "skin/data/SkinFolder.h"

#include "framework/SysUtils.h"
#include "skin/data/SkinRead.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/Streams.h"
#include "skin/data/WinSkinIni.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool EndsWithIni(const std::string& name) {
    const std::string lower = LowerCase(name);
    return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".ini") == 0;
}

fs::path Path(const std::string& utf8) {
    return fs::u8path(utf8);
}

} // namespace

bool IsSkinFolderPath(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(Path(path), ec)) return true;
    return EndsWithIni(path) && fs::is_regular_file(Path(path), ec);
}

std::string SkinFolderFile(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    const char last = dir.back();
    if (last == '/' || last == '\\') return dir + name;
    const bool backslash = dir.find('\\') != std::string::npos && dir.find('/') == std::string::npos;
    return dir + (backslash ? "\\" : "/") + name;
}

TSkinFolder ListSkinFolder(const std::string& path) {
    TSkinFolder f;
    std::error_code ec;
    std::string description;
    if (fs::is_directory(Path(path), ec)) {
        f.Dir = path;
    } else if (EndsWithIni(path) && fs::is_regular_file(Path(path), ec)) {
        const size_t slash = path.find_last_of("/\\");
        f.Dir = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
        description = path.substr(slash == std::string::npos ? 0 : slash + 1);
    } else {
        f.Dir = path;
        f.Error = "\"" + path + "\" is neither a skin folder nor a description file";
        return f;
    }

    std::vector<std::string> names;
    for (fs::directory_iterator it(Path(f.Dir), ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().u8string();
        std::error_code kind;
        if (it->is_regular_file(kind))
            names.push_back(std::move(name));
        else
            f.Skipped.push_back(std::move(name));
    }
    if (ec) {
        f.Error = "cannot list \"" + f.Dir + "\": " + ec.message();
        return f;
    }
    std::sort(names.begin(), names.end());
    std::sort(f.Skipped.begin(), f.Skipped.end());

    auto first = description.empty() ? std::find_if(names.begin(), names.end(), EndsWithIni)
                                     : std::find(names.begin(), names.end(), description);
    if (first == names.end()) {
        f.Error = "no skin description (*.ini) in \"" + f.Dir + "\"";
        return f;
    }
    std::rotate(names.begin(), first, first + 1);
    for (auto it = names.begin() + 1; it != names.end(); ++it)
        if (EndsWithIni(*it)) f.Others.push_back(*it);
    std::set<std::string> seen;
    for (const std::string& name : names)
        if (!seen.insert(LowerCase(name)).second) f.CaseTwins.push_back(name);
    f.Names = std::move(names);
    return f;
}

bool PackSkinFolder(const TSkinFolder& folder, std::string& package, std::string& error) {
    if (!folder.Error.empty() || folder.Names.empty()) {
        error = folder.Error.empty() ? "no skin description" : folder.Error;
        return false;
    }
    try {
        TSkinWriter writer;
        for (const std::string& name : folder.Names) {
            std::string bytes;
            const std::string file = SkinFolderFile(folder.Dir, name);
            if (!TryReadFileBytes(file, bytes)) {
                error = "cannot read \"" + file + "\"";
                return false;
            }
            writer.Add(name, std::move(bytes));
        }
        package = writer.Pack();
        return true;
    } catch (const Exception& e) {
        error = e.what();
        return false;
    }
}

std::string SkinNameOfPackage(const std::string& packageBytes) {
    TSkinReader package;
    TMemoryStream stream;
    stream.Assign(packageBytes);
    if (!package.Loadfromstream(stream)) return std::string();
    TMemoryStream text;
    std::string iniName;
    package.readIni(".ini", text, iniName);
    TQuickIni ini;
    ini.LoadFromStream(&text);
    return ini.ReadString("TitlebarSkin", "SkinName", "");
}
