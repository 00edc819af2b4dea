// lzh-pack and lzh-unpack: any file to and from the LZH framing (4-byte size, then the code).
#include "tools/skinpack/Commands.h"

#include "skin/data/Lzh.h"

namespace {

int RunLzhPack(const Args& args) {
    std::string data = ReadInput(args[0]);
    if (data.size() > size_t(kLzhMaxSize)) throw ESkinpackError("\"" + args[0] + "\" is larger than 64 MiB");
    WriteOutput(args[1], LzhCompress(data));
    return 0;
}

int RunLzhUnpack(const Args& args) {
    std::string out;
    TLzhStatus status = LzhDecompress(ReadInput(args[0]), out);
    if (status != TLzhStatus::Ok) throw ESkinpackError("\"" + args[0] + "\": " + LzhStatusText(status));
    WriteOutput(args[1], out);
    return 0;
}

const bool registered = RegisterCommand({"lzh-pack", "IN OUT", "compress a file", 2, RunLzhPack}) &&
                        RegisterCommand({"lzh-unpack", "IN OUT", "decompress a file", 2, RunLzhUnpack});

} // namespace
