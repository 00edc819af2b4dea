#include "skin/data/SkinWrite.h"

#include "skin/data/Lzh.h"
#include "skin/data/SkinRead.h"

namespace {

void PutLE32(std::string& out, int32_t v) {
    uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; i++)
        out.push_back(char(uint8_t(u >> (8 * i))));
}

} // namespace

void TSkinWriter::Add(const std::string& name, std::string data) {
    if (name.empty()) throw ESkinPackError("skin package entry without a name");
    if (name.find_first_of("\r\n") != std::string::npos)
        throw ESkinPackError("skin package entry name with a line break: \"" + name + "\"");
    if (data.size() > size_t(kLzhMaxSize)) throw ESkinPackError("skin package entry \"" + name + "\" exceeds 64 MiB");
    if (entries_.size() >= size_t(kSkinMaxEntries)) throw ESkinPackError("too many skin package entries");
    entries_.push_back({name, std::move(data)});
}

void TSkinWriter::AddFile(const std::string& name, const std::string& fileName) {
    Add(name, ReadFileBytes(fileName));
}

std::string TSkinWriter::Build() const {
    std::string names;
    size_t total = 16;
    for (const Entry& e : entries_) {
        names += e.name;
        names += "\r\n";
        total += e.name.size() + 2 + 4 + e.data.size();
        if (total > size_t(kLzhMaxSize)) throw ESkinPackError("skin package larger than 64 MiB");
    }
    std::string out;
    out.reserve(total);
    PutLE32(out, kSkinFormatMark);
    PutLE32(out, int32_t(names.size()));
    PutLE32(out, 0);
    PutLE32(out, 0);
    out += names;
    for (const Entry& e : entries_)
        PutLE32(out, int32_t(e.data.size()));
    for (const Entry& e : entries_)
        out += e.data;
    return out;
}

std::string TSkinWriter::Pack() const {
    return LzhCompress(Build());
}

void TSkinWriter::SaveToStream(TStream& stream) const {
    std::string bytes = Pack();
    stream.WriteBuffer(bytes.data(), int64_t(bytes.size()));
}

void TSkinWriter::SaveToFile(const std::string& fileName) const {
    WriteFileBytes(fileName, Pack());
}
