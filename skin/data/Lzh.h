// The LZH codec: LZSS matching over a 4096-byte ring with adaptive Huffman coding of literals and
// match lengths and a fixed prefix code for the upper six bits of match positions. The bit stream is
// fixed: packing the same bytes always gives the same code, and stored skins decode with it.
//
// A compressed stream is framed as a 32-bit little-endian signed uncompressed size followed by the
// code. TLZH itself neither writes nor reads that size; LzhCompress/LzhDecompress below do.
#pragma once

#include "framework/SysUtils.h"
#include "skin/data/Streams.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class ElzhException : public Exception {
public:
    using Exception::Exception;
};

// Byte-at-a-time callbacks. A reader fills DTA with up to NBytes bytes and reports how many it
// delivered in Bytes_Got (0 = end of input); a writer takes NBytes bytes and reports how many it
// took in Bytes_Put. The codec always passes NBytes = 1.
using TReadProc = std::function<void(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got)>;
using TWriteProc = std::function<void(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Put)>;

// One pack or unpack per call; each call allocates its tables (zero-filled) and frees them before it
// returns, also when an exception passes. Allocation failure raises ElzhException.
class TLZH : public TObject {
public:
    // Compresses everything the reader delivers until it reports 0 bytes; count receives the number
    // of bytes consumed. An empty input writes nothing.
    void LZHPack(int32_t& count, const TReadProc& reader, const TWriteProc& writer);
    // Writes exactly size bytes (none when size <= 0). Code missing at the end reads as zero bits, so
    // truncated code still yields size bytes; use LzhDecompress to refuse it.
    void LZHUnpack(int32_t size, const TReadProc& reader, const TWriteProc& writer);

    // A reader over InStream and a writer to OutStream (neither owned; set them before use).
    void GetBlockStream(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got);
    void PutBlockStream(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Put);
    TReadProc StreamReader();
    TWriteProc StreamWriter();

    TStream* InStream = nullptr;
    TStream* OutStream = nullptr;
};

// Largest uncompressed size a compressed stream may state; larger ones are refused unread.
constexpr int32_t kLzhMaxSize = 64 * 1024 * 1024;

enum class TLzhStatus {
    Ok,
    NoSizeField, // fewer than 4 bytes
    TooLarge,    // the stated size exceeds kLzhMaxSize
    Truncated,   // the code ends before the stated size is decoded
};
const char* LzhStatusText(TLzhStatus status);

// The bare code of data (no size field).
std::string LzhPack(const std::string& data);
// Decodes exactly size bytes of bare code with TLZH's rules (zero bits past the end).
std::string LzhUnpack(const std::string& code, int32_t size);

// One decoded symbol of a code: a literal byte, or a match of Length bytes (3..60) starting
// Position + 1 bytes back in the ring.
struct TLzhToken {
    bool IsMatch;
    uint8_t Literal;
    int Length;
    int Position;
};
// The symbols that decode size bytes of bare code, for diagnostics (skinpack) and tests.
std::vector<TLzhToken> LzhTokens(const std::string& code, int32_t size);

// Framed: 4-byte size, then the code. Inputs larger than kLzhMaxSize raise ElzhException.
std::string LzhCompress(const std::string& data);
// Decodes a framed stream. Sizes are not trusted: a stated size past kLzhMaxSize or past what the
// code could possibly hold, and code that runs out before the stated size, are refused with out
// left empty. A negative stated size decodes to nothing (Ok).
TLzhStatus LzhDecompress(const uint8_t* data, size_t length, std::string& out);
TLzhStatus LzhDecompress(const std::string& framed, std::string& out);

// Stream forms. Compress rewinds both streams, writes the source's size and packs the whole source.
// Decompress rewinds the source, empties the destination and decodes into it (position 0 after);
// on refusal the destination stays empty.
void LzhCompressStream(TStream& source, TStream& destination);
TLzhStatus LzhDecompressStream(TStream& source, TMemoryStream& destination);
