// The input is a skin package: as stored (LZH-framed) when the first byte is even, otherwise the
// rest is taken as the uncompressed package and framed first, so the parser sees the damage
// directly. Every entry is then read; nothing may read outside the package's data.
#include "skin/data/Lzh.h"
#include "skin/data/SkinRead.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    TMemoryStream stream;
    if (data[0] % 2 == 0) {
        stream.Assign(rest);
    } else {
        if (rest.size() > 1 << 16) return 0;
        stream.Assign(LzhCompress(rest));
    }
    TSkinReader reader;
    if (!reader.Loadfromstream(stream)) {
        if (reader.Count() != 0) std::abort();
        return 0;
    }
    for (int i = 0; i < reader.Count(); ++i) {
        TMemoryStream entry;
        reader.readfile(reader.Names()[i], entry);
        if (entry.Position() != 0) std::abort();
        // The first entry of this name, whole when it lies inside the data, else empty.
        int first = reader.Names().IndexOf(reader.Names()[i]);
        int64_t expected = reader.EntryComplete(first) ? reader.EntrySize(first) : 0;
        if (entry.Size() != expected) std::abort();
    }
    TMemoryStream ini;
    std::string name;
    reader.readIni(".ini", ini, name);
    return 0;
}
