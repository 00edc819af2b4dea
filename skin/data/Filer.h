// The part of component persistence the skin engine needs: binary properties, each a named block
// of bytes a component reads from and writes to a stream. A component declares them in
// DefineProperties; a writer stores every declared property that has data, a reader hands each
// stored block to the property of its name.
//
// Stored form of a property list: for each property its name (1 byte length, then the bytes), a
// 4-byte little-endian length L, then L bytes; a zero length byte ends the list.
#pragma once

#include "framework/SysUtils.h"
#include "skin/data/Streams.h"

#include <functional>
#include <string>

class TFiler {
public:
    virtual ~TFiler() = default;
    using TStreamProc = std::function<void(TStream& stream)>;
    // hasData: whether the writer stores the property (a reader ignores it).
    virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;
};

// Something with binary properties.
class TBinaryPersistent {
public:
    virtual ~TBinaryPersistent() = default;
    virtual void DefineProperties(TFiler& filer) = 0;
};

// Writes the declared properties of an object to a stream.
void WriteBinaryProperties(TBinaryPersistent& object, TStream& stream);
// Reads a stored property list into an object: each block goes to the property of its name (a
// property the object does not declare is skipped), and a property reads only its own block.
// EReadError for a list that ends early or a block that runs past the stream's end.
void ReadBinaryProperties(TBinaryPersistent& object, TStream& stream);
