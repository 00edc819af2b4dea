#include "skin/data/Streams.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count < 0 || Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count < 0 || Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    char chunk[16384];
    int64_t left = count;
    while (left > 0) {
        int64_t n = std::min<int64_t>(left, sizeof chunk);
        source.ReadBuffer(chunk, n);
        WriteBuffer(chunk, n);
        left -= n;
    }
    return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || pos_ >= data_.size()) return 0;
    size_t n = std::min(size_t(count), data_.size() - pos_);
    std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return int64_t(n);
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0) return 0;
    size_t n = size_t(count);
    if (pos_ + n > data_.size()) data_.resize(pos_ + n);
    std::memcpy(&data_[pos_], buffer, n);
    pos_ += n;
    return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0 : origin == TSeekOrigin::soCurrent ? int64_t(pos_) : Size();
    int64_t p = base + offset;
    pos_ = p < 0 ? 0 : size_t(p);
    return int64_t(pos_);
}

void TMemoryStream::SetSize(int64_t size) {
    data_.resize(size_t(std::max<int64_t>(size, 0)));
    pos_ = std::min(pos_, data_.size());
}

void TMemoryStream::Clear() {
    data_.clear();
    pos_ = 0;
}

void TMemoryStream::Assign(std::string bytes) {
    data_ = std::move(bytes);
    pos_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    Assign(ReadFileBytes(fileName));
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
    WriteFileBytes(fileName, data_);
}

void TMemoryStream::LoadFromStream(TStream& source) {
    std::string bytes;
    char chunk[16384];
    for (int64_t n; (n = source.Read(chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, size_t(n));
    Assign(std::move(bytes));
}

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

FilePtr OpenFile(const std::string& fileName, const char* mode) {
#ifdef _WIN32
    return FilePtr(_wfopen(Utf8ToWide(fileName).c_str(), Utf8ToWide(mode).c_str()));
#else
    return FilePtr(std::fopen(fileName.c_str(), mode));
#endif
}

} // namespace

bool FileExists(const std::string& fileName) {
#ifdef _WIN32
    struct _stat st;
    return _wstat(Utf8ToWide(fileName).c_str(), &st) == 0 && (st.st_mode & _S_IFREG);
#else
    struct stat st;
    return stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

bool TryReadFileBytes(const std::string& fileName, std::string& bytes) {
    if (!FileExists(fileName)) return false;
    FilePtr f = OpenFile(fileName, "rb");
    if (!f) return false;
    std::string out;
    char chunk[65536];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0;)
        out.append(chunk, n);
    if (std::ferror(f.get())) return false;
    bytes = std::move(out);
    return true;
}

std::string ReadFileBytes(const std::string& fileName) {
    std::string bytes;
    if (!TryReadFileBytes(fileName, bytes)) throw EFOpenError("Cannot open file \"" + fileName + "\"");
    return bytes;
}

void WriteFileBytes(const std::string& fileName, const std::string& bytes) {
    FilePtr f = OpenFile(fileName, "wb");
    if (!f) throw EFCreateError("Cannot create file \"" + fileName + "\"");
    if (std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size() || std::fflush(f.get()) != 0)
        throw EWriteError("Cannot write file \"" + fileName + "\"");
}
