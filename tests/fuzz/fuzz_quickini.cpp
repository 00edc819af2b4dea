// The input is an INI text; after loading, a few edits chosen by the input's own bytes run on it, and
// the section index must still be the one a rebuild from the lines gives. The same bytes are also
// tried as a compressed INI.
#include "skin/data/WinSkinIni.h"

#include <cstdlib>

namespace {

void Check(const TQuickIni& ini) {
    TQuickIni fresh;
    fresh.SetIniFile(ini.Lines());
    TStringList mine, theirs;
    ini.ReadSections(mine);
    fresh.ReadSections(theirs);
    if (mine.Count() != theirs.Count()) std::abort();
    for (int i = 0; i < mine.Count(); ++i) {
        if (mine[i] != theirs[i]) std::abort();
        if (ini.GetSectionIndex(mine[i]) != fresh.GetSectionIndex(mine[i])) std::abort();
        TStringList keys;
        ini.ReadSection(mine[i], keys);
        for (int k = 0; k < keys.Count() && k < 8; ++k) {
            if (ini.ReadString(mine[i], keys[k], "-") != fresh.ReadString(mine[i], keys[k], "-")) std::abort();
            ini.ReadInteger(mine[i], keys[k], 0);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    TMemoryStream stream;
    stream.Assign(text);
    TQuickIni ini;
    ini.LoadFromStream(&stream);
    Check(ini);

    TStringList sections;
    ini.ReadSections(sections);
    for (size_t i = 0; i < size && i < 16; ++i) {
        std::string section = sections.Count() ? sections[int(data[i]) % sections.Count()] : "S";
        std::string key = text.substr(i, data[i] % 5);
        switch (data[i] % 4) {
        case 0:
            ini.WriteString(section, key, "v");
            break;
        case 1:
            ini.DeleteKey(section, key);
            break;
        case 2:
            ini.EraseSection(section);
            break;
        default:
            ini.WriteString("new" + std::to_string(i), key, "1");
        }
        Check(ini);
    }

    stream.SetPosition(0);
    TMemoryStream decoded;
    if (TQuickIni::Decompress(stream, decoded)) {
        ini.LoadFromStream(&decoded);
        Check(ini);
    }
    return 0;
}
