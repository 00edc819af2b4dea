#include "skin/data/Filer.h"

#include <cstdint>
#include <map>

namespace {
class TWriterFiler : public TFiler {
public:
    explicit TWriterFiler(TStream& s) : s_(s) {}
    void DefineBinaryProperty(const std::string& name, const TStreamProc&, const TStreamProc& writeData,
                              bool hasData) override {
        if (!hasData || !writeData || name.empty() || name.size() > 255) return;
        TMemoryStream block;
        writeData(block);
        const std::uint8_t n = std::uint8_t(name.size());
        s_.WriteBuffer(&n, 1);
        s_.WriteBuffer(name.data(), n);
        const std::uint32_t size = std::uint32_t(block.Size());
        const std::uint8_t le[4] = {std::uint8_t(size), std::uint8_t(size >> 8), std::uint8_t(size >> 16),
                                    std::uint8_t(size >> 24)};
        s_.WriteBuffer(le, 4);
        if (size) s_.WriteBuffer(block.Memory(), size);
    }

private:
    TStream& s_;
};

class TReaderFiler : public TFiler {
public:
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&, bool) override {
        readers[name] = readData;
    }
    std::map<std::string, TStreamProc> readers;
};
} // namespace

void WriteBinaryProperties(TBinaryPersistent& object, TStream& stream) {
    TWriterFiler filer(stream);
    object.DefineProperties(filer);
    const std::uint8_t end = 0;
    stream.WriteBuffer(&end, 1);
}

void ReadBinaryProperties(TBinaryPersistent& object, TStream& stream) {
    TReaderFiler filer;
    object.DefineProperties(filer);
    for (;;) {
        std::uint8_t n = 0;
        stream.ReadBuffer(&n, 1);
        if (n == 0) return;
        std::string name(n, '\0');
        stream.ReadBuffer(name.data(), n);
        std::uint8_t le[4];
        stream.ReadBuffer(le, 4);
        const std::int64_t size =
            std::int64_t(le[0]) | std::int64_t(le[1]) << 8 | std::int64_t(le[2]) << 16 | std::int64_t(le[3]) << 24;
        if (size > stream.Size() - stream.Position()) throw EReadError("Stream read error");
        // Each property sees its own block only.
        TMemoryStream block;
        std::string bytes(size_t(size), '\0');
        if (size) stream.ReadBuffer(bytes.data(), size);
        block.Assign(std::move(bytes));
        auto it = filer.readers.find(name);
        if (it != filer.readers.end() && it->second) it->second(block);
    }
}
