// The input is tried as a framed compressed stream (refused or decoded, never a fault), as bare code
// decoded with the codec's own zero-bit rule, and as data to round-trip through the packer.
#include "skin/data/Lzh.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string out;
    if (LzhDecompress(data, size, out) == TLzhStatus::Ok) {
        int32_t stated = size >= 4 ? int32_t(uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                                             uint32_t(data[3]) << 24)
                                   : 0;
        if (out.size() != size_t(stated > 0 ? stated : 0)) std::abort();
    }

    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Bare code, with a size from the first byte: past the code end it reads zero bits.
    if (size > 0) {
        int32_t want = int32_t(data[0]) * 37;
        if (LzhUnpack(bytes.substr(1), want).size() != size_t(want)) std::abort();
    }

    if (size <= 65536) {
        std::string framed = LzhCompress(bytes);
        if (LzhUnpack(framed.substr(4), int32_t(size)) != bytes) std::abort();
        if (LzhDecompress(framed, out) != TLzhStatus::Ok || out != bytes) std::abort();
        // Any shorter stream is truncated code.
        if (!framed.empty() && size > 0 && LzhDecompress(framed.substr(0, framed.size() - 1), out) == TLzhStatus::Ok)
            std::abort();
    }
    return 0;
}
