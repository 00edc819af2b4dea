#include "skin/data/SkinRead.h"

#include "framework/SysUtils.h"
#include "skin/data/Lzh.h"

#include <cstring>

const char* const kOlderSkinMessage = "This is Older Skin File\rPlease update to new version !";

std::function<void(const std::string& text)> TSkinReader::OnMessage;

namespace {

int32_t GetLE32(const std::string& s, size_t at) {
    auto b = [&](size_t i) { return uint32_t(static_cast<unsigned char>(s[at + i])); };
    return int32_t(b(0) | b(1) << 8 | b(2) << 16 | b(3) << 24);
}

} // namespace

const char* SkinReadStatusText(TSkinReadStatus status) {
    switch (status) {
    case TSkinReadStatus::Ok:
        return "ok";
    case TSkinReadStatus::NotOpened:
        return "no package opened";
    case TSkinReadStatus::NoFile:
        return "file not found";
    case TSkinReadStatus::BadCompression:
        return "the compressed data is damaged or truncated";
    case TSkinReadStatus::OlderFormat:
        return "not a skin package of this format (format mark is not 20000)";
    case TSkinReadStatus::BadHeader:
        return "package header or name list runs past the data";
    case TSkinReadStatus::BadSizeTable:
        return "package size table runs past the data, holds a negative size or too many entries";
    }
    return "unknown";
}

void TSkinReader::Reset(TSkinReadStatus status) {
    names_.Clear();
    storedNames_.Clear();
    sizes_.clear();
    offsets_.clear();
    data_.Clear();
    std::memset(header_, 0, sizeof header_);
    status_ = status;
}

bool TSkinReader::Decompress(TStream& source, TMemoryStream& destination) {
    return LzhDecompressStream(source, destination) == TLzhStatus::Ok;
}

bool TSkinReader::Loadfromstream(TStream& stream) {
    Reset(TSkinReadStatus::NotOpened);
    TMemoryStream package;
    if (!Decompress(stream, package)) {
        Reset(TSkinReadStatus::BadCompression);
        return false;
    }
    return Open(package.Bytes());
}

bool TSkinReader::loadfromfile(const std::string& fileName) {
    if (!FileExists(fileName)) {
        Reset(TSkinReadStatus::NoFile);
        return false;
    }
    TMemoryStream file;
    file.LoadFromFile(fileName);
    return Loadfromstream(file);
}

bool TSkinReader::Open(const std::string& package) {
    const int64_t total = int64_t(package.size());
    if (total < 16) {
        Reset(TSkinReadStatus::BadHeader);
        return false;
    }
    std::memcpy(header_, package.data(), 16);
    if (GetLE32(package, 0) != kSkinFormatMark) {
        Reset(TSkinReadStatus::OlderFormat);
        if (OnMessage) OnMessage(kOlderSkinMessage);
        return false;
    }
    const int64_t listLength = GetLE32(package, 4);
    if (listLength < 0 || 16 + listLength > total) {
        Reset(TSkinReadStatus::BadHeader);
        return false;
    }

    // Lines break at CR LF, CR or LF; a final break adds no entry. Count them before building
    // anything, so a name list of empty lines cannot claim more memory than the size table pays for.
    const char* list = package.data() + 16;
    int64_t count = 0;
    for (int64_t i = 0; i < listLength; ++i) {
        if (list[i] == '\r' && i + 1 < listLength && list[i + 1] == '\n') ++i;
        if (list[i] == '\r' || list[i] == '\n' || i + 1 == listLength) ++count;
    }
    const int64_t tableEnd = 16 + listLength + 4 * count;
    if (tableEnd > total || count > kSkinMaxEntries) {
        Reset(TSkinReadStatus::BadSizeTable);
        return false;
    }
    TStringList stored;
    stored.SetText(package.substr(16, size_t(listLength)));
    if (stored.Count() != count) { // both splits follow the same rule; a mismatch is a fault here
        Reset(TSkinReadStatus::BadHeader);
        return false;
    }
    std::vector<int32_t> sizes(static_cast<size_t>(count));
    std::vector<int64_t> offsets(static_cast<size_t>(count));
    int64_t offset = 0;
    for (int64_t i = 0; i < count; ++i) {
        int32_t size = GetLE32(package, size_t(16 + listLength + 4 * i));
        if (size < 0) {
            Reset(TSkinReadStatus::BadSizeTable);
            return false;
        }
        sizes[size_t(i)] = size;
        offsets[size_t(i)] = offset;
        offset += size; // at most 2^31 entries of 2^31 bytes: no overflow in 64 bits
    }

    storedNames_ = stored;
    names_ = stored;
    for (int i = 0; i < names_.Count(); ++i)
        names_[i] = LowerCase(names_[i]);
    sizes_ = std::move(sizes);
    offsets_ = std::move(offsets);
    data_.Assign(package.substr(size_t(tableEnd)));
    status_ = TSkinReadStatus::Ok;
    return true;
}

bool TSkinReader::EntryComplete(int index) const {
    size_t i = size_t(index);
    return i < sizes_.size() && offsets_[i] + sizes_[i] <= data_.Size();
}

std::string TSkinReader::EntryBytes(int index) const {
    if (!EntryComplete(index)) return std::string();
    return data_.Bytes().substr(size_t(offsets_[size_t(index)]), size_t(sizes_[size_t(index)]));
}

void TSkinReader::readfile(const std::string& name, TMemoryStream& stream) const {
    stream.Clear();
    std::string wanted = LowerCase(name);
    for (int i = 0; i < names_.Count(); ++i) {
        if (names_[i] == wanted) {
            stream.Assign(EntryBytes(i));
            return;
        }
    }
}

void TSkinReader::readIni(const std::string& pattern, TMemoryStream& stream, std::string& name) const {
    stream.Clear();
    for (int i = 0; i < names_.Count(); ++i) {
        if (names_[i].find(pattern) != std::string::npos) {
            stream.Assign(EntryBytes(i));
            name = names_[i];
            return;
        }
    }
}
