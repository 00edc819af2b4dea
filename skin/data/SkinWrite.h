// TSkinWriter: builds skin packages, the inverse of TSkinReader.
#pragma once

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "skin/data/Streams.h"

#include <string>
#include <vector>

// A name or content that no package can carry.
class ESkinPackError : public Exception {
public:
    using Exception::Exception;
};

// Entries keep the order they are added in; the reader finds the first of equal names. Names are
// plain file names: not empty, without line breaks. The whole uncompressed package may not exceed
// the 64 MiB a reader accepts. Both reserved header fields are written as zero.
class TSkinWriter : public TObject {
public:
    void Add(const std::string& name, std::string data); // ESkinPackError
    void AddFile(const std::string& name, const std::string& fileName);
    void Clear() { entries_.clear(); }
    int Count() const { return int(entries_.size()); }

    // The uncompressed package: mark, name-list length, reserved, names, sizes, data.
    std::string Build() const; // ESkinPackError when too large
    // The package as stored: 4-byte size, then the LZH code of Build().
    std::string Pack() const;
    void SaveToStream(TStream& stream) const;
    void SaveToFile(const std::string& fileName) const;

private:
    struct Entry {
        std::string name, data;
    };
    std::vector<Entry> entries_;
};
