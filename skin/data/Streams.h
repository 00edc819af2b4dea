// Byte streams: the memory stream the skin data core reads and writes, and whole-file helpers.
// Portable (no windows.h); file names are UTF-8.
#pragma once

#include "framework/Classes.h"
#include "framework/SysUtils.h"

#include <cstdint>
#include <string>

class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position. Read and Write move the position by what they transfer.
class TStream : public TObject {
public:
    // Copies up to count bytes into buffer; returns how many were available (0 at the end).
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    // Writes count bytes; returns how many were taken (all of them, or an exception).
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Returns the new position. Positions below 0 are clamped to 0; beyond the end is allowed.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
    virtual int64_t Size() const = 0;

    int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(int64_t p) { Seek(p, TSeekOrigin::soBeginning); }
    // Exactly count bytes or EReadError "Stream read error".
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from source's position; count 0 copies the whole source from its start.
    int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over a growable block of memory. The bytes past the end of a write are zero.
class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() const override { return int64_t(data_.size()); }

    // Changes the size; the position is kept unless it lies past the new end.
    void SetSize(int64_t size);
    void Clear();
    // The stream's bytes; valid until the next change of size.
    const std::string& Bytes() const { return data_; }
    const uint8_t* Memory() const { return reinterpret_cast<const uint8_t*>(data_.data()); }
    // Replaces the content by the given bytes, position 0.
    void Assign(std::string bytes);

    // Replace the content by a whole file (EFOpenError when it cannot be read); position 0.
    void LoadFromFile(const std::string& fileName);
    // Writes all bytes to a new file (EFCreateError when it cannot be created).
    void SaveToFile(const std::string& fileName) const;
    // Replaces the content by everything from the source's position to its end; position 0.
    void LoadFromStream(TStream& source);

private:
    std::string data_;
    size_t pos_ = 0;
};

// Whole-file helpers over the C library (wide names on Windows, so any UTF-8 name works).
bool FileExists(const std::string& fileName);
bool TryReadFileBytes(const std::string& fileName, std::string& bytes);
std::string ReadFileBytes(const std::string& fileName);                     // EFOpenError
void WriteFileBytes(const std::string& fileName, const std::string& bytes); // EFCreateError, EWriteError
