// skinstream: frames a skin package as a form stores it in its SkinStream property (a 4-byte
// little-endian size, then the package), for the main form's resource.
#include "tools/skinpack/Commands.h"

#include "skin/data/SkinRead.h"

#include <cstdint>

namespace {

int RunSkinStream(const Args& args) {
    std::string package = ReadInput(args[0]);
    TMemoryStream stream;
    stream.Assign(package);
    TSkinReader reader;
    if (!reader.Loadfromstream(stream))
        throw ESkinpackError("\"" + args[0] +
                             "\" is not a usable skin package: " + SkinReadStatusText(reader.Status()));
    if (package.size() > INT32_MAX) throw ESkinpackError("\"" + args[0] + "\" is too large for a SkinStream");
    std::uint32_t size = std::uint32_t(package.size());
    std::string framed;
    for (int i = 0; i < 4; ++i)
        framed += char((size >> (8 * i)) & 0xFF);
    WriteOutput(args[1], framed + package);
    return 0;
}

const bool registered =
    RegisterCommand({"skinstream", "PKG OUT", "write a package framed as a form's SkinStream", 2, RunSkinStream});

} // namespace
