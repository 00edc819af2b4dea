#include "skin/data/Lzh.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int N = 4096;                     // ring size
constexpr int F = 60;                       // look-ahead = longest match
constexpr int THRESHOLD = 2;                // matches this long or shorter go out as literals
constexpr int NIL = N;                      // absent tree node
constexpr int N_CHAR = 256 - THRESHOLD + F; // literals and match lengths 3..60
constexpr int T = N_CHAR * 2 - 1;           // Huffman tree nodes
constexpr int R = T - 1;                    // root
constexpr unsigned MAX_FREQ = 0x8000;

// Prefix code of the upper six position bits: 1 code of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7
// and 16 of 8, assigned in ascending order. d_code/d_len map a code's first byte back.
struct PositionCode {
    uint8_t p_len[64];
    uint8_t p_code[64];
    uint8_t d_code[256];
    uint8_t d_len[256];
};

constexpr PositionCode MakePositionCode() {
    PositionCode t{};
    const int counts[6] = {1, 3, 8, 12, 24, 16};
    int index = 0;
    unsigned code = 0; // left-justified in 8 bits
    for (int k = 0; k < 6; ++k) {
        int len = k + 3;
        for (int n = 0; n < counts[k]; ++n, ++index) {
            t.p_len[index] = uint8_t(len);
            t.p_code[index] = uint8_t(code);
            for (unsigned b = code; b < code + (256u >> len); ++b) {
                t.d_code[b] = uint8_t(index);
                t.d_len[b] = uint8_t(len);
            }
            code += 256u >> len;
        }
    }
    return t;
}

constexpr PositionCode kPos = MakePositionCode();
static_assert(kPos.p_code[1] == 0x20 && kPos.p_code[4] == 0x50 && kPos.p_code[12] == 0x90 && kPos.p_code[24] == 0xC0 &&
                  kPos.p_code[48] == 0xF0 && kPos.p_code[63] == 0xFF,
              "first code of each length");
static_assert(kPos.d_code[0x1F] == 0 && kPos.d_len[0x1F] == 3 && kPos.d_code[0xBF] == 23 && kPos.d_len[0xEF] == 7 &&
                  kPos.d_code[255] == 63,
              "the inverse tables fill the byte space");

// The codec's state for one call. Tables are zero-filled on construction, as every call starts.
class LzhCoder {
public:
    LzhCoder() {
        try {
            text_buf.reset(new uint8_t[N + F - 1]());
            lson.reset(new uint16_t[N + 1]());
            dad.reset(new uint16_t[N + 1]());
            rson.reset(new uint16_t[N + 257]());
            freq.reset(new uint16_t[T + 1]());
            prnt.reset(new uint16_t[T + N_CHAR]());
            son.reset(new uint16_t[T]());
        } catch (const std::bad_alloc&) {
            throw ElzhException("LZH : Cannot get memory for dictionary tables");
        }
    }

    // reader() returns the next input byte or -1 at the end; writer(byte) takes one output byte.
    template <class Reader, class Writer> int32_t Pack(Reader& reader, Writer& writer);
    // Returns false only in strict mode, when the code runs out before size bytes are decoded.
    template <class Reader, class Writer> bool Unpack(int32_t size, Reader& reader, Writer& writer, bool strict);
    template <class Reader> std::vector<TLzhToken> Tokens(int32_t size, Reader& reader);

private:
    void InitTree();
    void InsertNode(int r);
    void DeleteNode(int p);
    void StartHuff();
    void reconst();
    void update(int c);
    template <class Writer> void Putcode(Writer& writer, int bits, uint32_t code);
    template <class Writer> void EncodeChar(Writer& writer, unsigned c);
    template <class Writer> void EncodePosition(Writer& writer, unsigned c);
    template <class Writer> void EncodeEnd(Writer& writer);
    template <class Reader> void Refill(Reader& reader);
    template <class Reader> int GetBit(Reader& reader);
    template <class Reader> int GetByte(Reader& reader);
    template <class Reader> int DecodeChar(Reader& reader);
    template <class Reader> int DecodePosition(Reader& reader);

    std::unique_ptr<uint8_t[]> text_buf;
    std::unique_ptr<uint16_t[]> lson, dad, rson, freq, prnt, son;

    uint16_t match_position = 0;
    int16_t match_length = 0;

    // Output bits wait in putbuf, right-aligned, putlen of them (always < 8 between calls).
    uint32_t putbuf = 0;
    int putlen = 0;

    // Input bits wait left-aligned in the 16-bit getbuf; getlen of them are valid.
    uint16_t getbuf = 0;
    uint8_t getlen = 0;
    int64_t zeroFills = 0; // bytes the reader could not deliver and that were read as zero
};

void LzhCoder::InitTree() {
    for (int i = N + 1; i <= N + 256; i++)
        rson[i] = NIL;
    for (int i = 0; i < N; i++)
        dad[i] = NIL;
}

// Inserts the string at r into the tree of its first byte and leaves the longest match (nearest on
// equal length) in match_length/match_position. A full-length match replaces the old node.
void LzhCoder::InsertNode(int r) {
    int cmp = 1;
    const uint8_t* key = &text_buf[r];
    int p = N + 1 + key[0];
    rson[r] = lson[r] = NIL;
    match_length = 0;
    for (;;) {
        if (cmp >= 0) {
            if (rson[p] != NIL) {
                p = rson[p];
            } else {
                rson[p] = uint16_t(r);
                dad[r] = uint16_t(p);
                return;
            }
        } else {
            if (lson[p] != NIL) {
                p = lson[p];
            } else {
                lson[p] = uint16_t(r);
                dad[r] = uint16_t(p);
                return;
            }
        }
        int i;
        const uint8_t* other = &text_buf[p];
        for (i = 1; i < F; i++)
            if ((cmp = key[i] - other[i]) != 0) break;
        if (i > THRESHOLD) {
            unsigned c = unsigned(((r - p) & (N - 1)) - 1);
            if (i > match_length) {
                match_position = uint16_t(c);
                if ((match_length = int16_t(i)) >= F) break;
            }
            if (i == match_length && c < match_position) match_position = uint16_t(c);
        }
    }
    dad[r] = dad[p];
    lson[r] = lson[p];
    rson[r] = rson[p];
    dad[lson[p]] = uint16_t(r);
    dad[rson[p]] = uint16_t(r);
    if (rson[dad[p]] == p)
        rson[dad[p]] = uint16_t(r);
    else
        lson[dad[p]] = uint16_t(r);
    dad[p] = NIL;
}

void LzhCoder::DeleteNode(int p) {
    if (dad[p] == NIL) return;
    int q;
    if (rson[p] == NIL) {
        q = lson[p];
    } else if (lson[p] == NIL) {
        q = rson[p];
    } else {
        q = lson[p];
        if (rson[q] != NIL) {
            do {
                q = rson[q];
            } while (rson[q] != NIL);
            rson[dad[q]] = lson[q];
            dad[lson[q]] = dad[q];
            lson[q] = lson[p];
            dad[lson[p]] = uint16_t(q);
        }
        rson[q] = rson[p];
        dad[rson[p]] = uint16_t(q);
    }
    dad[q] = dad[p];
    if (rson[dad[p]] == p)
        rson[dad[p]] = uint16_t(q);
    else
        lson[dad[p]] = uint16_t(q);
    dad[p] = NIL;
}

void LzhCoder::StartHuff() {
    for (int i = 0; i < N_CHAR; i++) {
        freq[i] = 1;
        son[i] = uint16_t(i + T);
        prnt[i + T] = uint16_t(i);
    }
    for (int i = 0, j = N_CHAR; j <= R; i += 2, j++) {
        freq[j] = uint16_t(freq[i] + freq[i + 1]);
        son[j] = uint16_t(i);
        prnt[i] = prnt[i + 1] = uint16_t(j);
    }
    freq[T] = 0xFFFF; // sentinel: stops the sibling scan in update
    prnt[R] = 0;
}

// Halves the leaf frequencies (rounding up) and rebuilds the tree from them.
void LzhCoder::reconst() {
    int j = 0;
    for (int i = 0; i < T; i++) {
        if (son[i] >= T) {
            freq[j] = uint16_t((freq[i] + 1) / 2);
            son[j] = son[i];
            j++;
        }
    }
    for (int i = 0, jj = N_CHAR; jj < T; i += 2, jj++) {
        unsigned f = unsigned(freq[i]) + freq[i + 1];
        freq[jj] = uint16_t(f);
        int k = jj - 1;
        while (f < freq[k])
            k--;
        k++;
        size_t moved = size_t(jj - k) * sizeof(uint16_t);
        std::memmove(&freq[k + 1], &freq[k], moved);
        freq[k] = uint16_t(f);
        std::memmove(&son[k + 1], &son[k], moved);
        son[k] = uint16_t(i);
    }
    for (int i = 0; i < T; i++) {
        int k = son[i];
        if (k >= T)
            prnt[k] = uint16_t(i);
        else
            prnt[k] = prnt[k + 1] = uint16_t(i);
    }
}

// Counts symbol c and restores the frequency order by swapping nodes on the way to the root.
void LzhCoder::update(int c) {
    if (freq[R] == MAX_FREQ) reconst();
    c = prnt[c + T];
    do {
        unsigned k = ++freq[c];
        int l = c + 1;
        if (k > freq[l]) {
            while (k > freq[++l]) {
            }
            l--;
            freq[c] = freq[l];
            freq[l] = uint16_t(k);
            int i = son[c];
            prnt[i] = uint16_t(l);
            if (i < T) prnt[i + 1] = uint16_t(l);
            int j = son[l];
            son[l] = uint16_t(i);
            prnt[j] = uint16_t(c);
            if (j < T) prnt[j + 1] = uint16_t(c);
            son[c] = uint16_t(j);
            c = l;
        }
    } while ((c = prnt[c]) != 0);
}

// Appends the low `bits` bits of code (at most 24), most significant first, flushing whole bytes.
template <class Writer> void LzhCoder::Putcode(Writer& writer, int bits, uint32_t code) {
    putbuf = (putbuf << bits) | (code & ((1u << bits) - 1));
    putlen += bits;
    while (putlen >= 8) {
        putlen -= 8;
        writer(uint8_t(putbuf >> putlen));
    }
    putbuf &= (1u << putlen) - 1;
}

// The code is the path from the root to c's leaf, one bit per level (1 for an odd node index). It
// may exceed 16 bits on long skewed inputs; it is then sent whole.
template <class Writer> void LzhCoder::EncodeChar(Writer& writer, unsigned c) {
    uint64_t code = 0;
    int bits = 0;
    int k = prnt[c + T];
    do {
        code |= uint64_t(k & 1) << bits;
        bits++;
    } while ((k = prnt[k]) != R);
    while (bits > 16) {
        bits -= 16;
        Putcode(writer, 16, uint32_t(code >> bits));
    }
    Putcode(writer, bits, uint32_t(code));
    update(int(c));
}

template <class Writer> void LzhCoder::EncodePosition(Writer& writer, unsigned c) {
    unsigned i = c >> 6;
    Putcode(writer, kPos.p_len[i], unsigned(kPos.p_code[i]) >> (8 - kPos.p_len[i]));
    Putcode(writer, 6, c & 0x3F);
}

// The last byte is padded with zero bits.
template <class Writer> void LzhCoder::EncodeEnd(Writer& writer) {
    if (putlen) Putcode(writer, 8 - putlen, 0);
}

template <class Reader> void LzhCoder::Refill(Reader& reader) {
    while (getlen <= 8) {
        int b = reader();
        if (b < 0) {
            b = 0;
            zeroFills++;
        }
        getbuf = uint16_t(getbuf | (unsigned(b) << (8 - getlen)));
        getlen = uint8_t(getlen + 8);
    }
}

template <class Reader> int LzhCoder::GetBit(Reader& reader) {
    Refill(reader);
    int bit = getbuf >> 15;
    getbuf = uint16_t(getbuf << 1);
    getlen--;
    return bit;
}

template <class Reader> int LzhCoder::GetByte(Reader& reader) {
    Refill(reader);
    int byte = getbuf >> 8;
    getbuf = uint16_t(getbuf << 8);
    getlen = uint8_t(getlen - 8);
    return byte;
}

template <class Reader> int LzhCoder::DecodeChar(Reader& reader) {
    unsigned c = son[R];
    while (c < T) {
        c += unsigned(GetBit(reader));
        c = son[c];
    }
    c -= T;
    update(int(c));
    return int(c);
}

template <class Reader> int LzhCoder::DecodePosition(Reader& reader) {
    unsigned i = unsigned(GetByte(reader));
    unsigned c = unsigned(kPos.d_code[i]) << 6;
    int j = kPos.d_len[i] - 2;
    while (j--)
        i = (i << 1) + unsigned(GetBit(reader));
    return int(c | (i & 0x3F));
}

template <class Reader, class Writer> int32_t LzhCoder::Pack(Reader& reader, Writer& writer) {
    StartHuff();
    InitTree();
    int s = 0;
    int r = N - F;
    for (int i = s; i < r; i++)
        text_buf[i] = ' ';
    int len = 0;
    for (int c; len < F && (c = reader()) >= 0; len++)
        text_buf[r + len] = uint8_t(c);
    int32_t textsize = len;
    for (int i = 1; i <= F; i++)
        InsertNode(r - i);
    InsertNode(r);
    while (len > 0) {
        if (match_length > len) match_length = int16_t(len);
        if (match_length <= THRESHOLD) {
            match_length = 1;
            EncodeChar(writer, text_buf[r]);
        } else {
            EncodeChar(writer, unsigned(255 - THRESHOLD + match_length));
            EncodePosition(writer, match_position);
        }
        int last_match_length = match_length;
        int i = 0;
        for (int c; i < last_match_length && (c = reader()) >= 0; i++) {
            DeleteNode(s);
            text_buf[s] = uint8_t(c);
            if (s < F - 1) text_buf[s + N] = uint8_t(c); // lets comparisons run past the ring's end
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            InsertNode(r);
        }
        textsize += i;
        while (i++ < last_match_length) {
            DeleteNode(s);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            if (--len) InsertNode(r);
        }
    }
    EncodeEnd(writer);
    return textsize;
}

template <class Reader, class Writer> bool LzhCoder::Unpack(int32_t size, Reader& reader, Writer& writer, bool strict) {
    if (size <= 0) return true;
    StartHuff();
    for (int i = 0; i < N - F; i++)
        text_buf[i] = ' ';
    int r = N - F;
    // Truncated: the decoder has used bits beyond the last byte the reader delivered.
    auto ranOut = [&] { return strict && zeroFills > 0 && zeroFills * 8 > getlen; };
    for (int32_t count = 0; count < size;) {
        int c = DecodeChar(reader);
        if (c < 256) {
            if (ranOut()) return false;
            writer(uint8_t(c));
            text_buf[r++] = uint8_t(c);
            r &= (N - 1);
            count++;
        } else {
            int i = (r - DecodePosition(reader) - 1) & (N - 1);
            if (ranOut()) return false;
            int j = c - 255 + THRESHOLD;
            for (int k = 0; k < j && count < size; k++) {
                uint8_t b = text_buf[(i + k) & (N - 1)];
                writer(b);
                text_buf[r++] = b;
                r &= (N - 1);
                count++;
            }
        }
    }
    return true;
}

template <class Reader> std::vector<TLzhToken> LzhCoder::Tokens(int32_t size, Reader& reader) {
    std::vector<TLzhToken> tokens;
    StartHuff();
    for (int32_t count = 0; count < size;) {
        int c = DecodeChar(reader);
        if (c < 256) {
            tokens.push_back({false, uint8_t(c), 1, 0});
            count++;
        } else {
            int length = c - 255 + THRESHOLD;
            tokens.push_back({true, 0, length, DecodePosition(reader)});
            count += length;
        }
    }
    return tokens;
}

// Adapters from the byte-at-a-time callbacks to the coder's reader/writer.
struct CallbackReader {
    const TReadProc& proc;
    int operator()() {
        uint8_t b = 0;
        uint16_t got = 0;
        proc(&b, 1, got);
        return got ? b : -1;
    }
};

struct CallbackWriter {
    const TWriteProc& proc;
    void operator()(uint8_t b) {
        uint16_t put = 0;
        proc(&b, 1, put);
    }
};

struct BufferReader {
    const uint8_t* p;
    const uint8_t* end;
    int operator()() { return p < end ? *p++ : -1; }
};

struct StringWriter {
    std::string& out;
    void operator()(uint8_t b) { out.push_back(char(b)); }
};

void PutLE32(std::string& out, int32_t v) {
    uint32_t u = uint32_t(v);
    for (int i = 0; i < 4; i++)
        out.push_back(char(uint8_t(u >> (8 * i))));
}

int32_t GetLE32(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

// Each 60-byte match costs at least 10 bits (a 1-bit symbol, a 9-bit position) and each literal at
// least 1 bit, so no code yields more than 6 bytes per bit.
constexpr int64_t kMaxBytesPerCodeByte = 48;

} // namespace

void TLZH::LZHPack(int32_t& count, const TReadProc& reader, const TWriteProc& writer) {
    LzhCoder coder;
    CallbackReader in{reader};
    CallbackWriter out{writer};
    count = coder.Pack(in, out);
}

void TLZH::LZHUnpack(int32_t size, const TReadProc& reader, const TWriteProc& writer) {
    LzhCoder coder;
    CallbackReader in{reader};
    CallbackWriter out{writer};
    coder.Unpack(size, in, out, false);
}

void TLZH::GetBlockStream(uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Got) {
    int64_t left = InStream->Size() - InStream->Position();
    Bytes_Got = uint16_t(left <= 0 ? 0 : left < NBytes ? left : NBytes);
    if (Bytes_Got) InStream->ReadBuffer(DTA, Bytes_Got);
}

void TLZH::PutBlockStream(const uint8_t* DTA, uint16_t NBytes, uint16_t& Bytes_Put) {
    Bytes_Put = NBytes;
    OutStream->WriteBuffer(DTA, NBytes);
}

TReadProc TLZH::StreamReader() {
    return [this](uint8_t* d, uint16_t n, uint16_t& got) { GetBlockStream(d, n, got); };
}

TWriteProc TLZH::StreamWriter() {
    return [this](const uint8_t* d, uint16_t n, uint16_t& put) { PutBlockStream(d, n, put); };
}

const char* LzhStatusText(TLzhStatus status) {
    switch (status) {
    case TLzhStatus::Ok:
        return "ok";
    case TLzhStatus::NoSizeField:
        return "compressed stream shorter than its 4-byte size field";
    case TLzhStatus::TooLarge:
        return "stated uncompressed size is larger than the code can hold or than 64 MiB";
    case TLzhStatus::Truncated:
        return "compressed code ends before the stated size";
    }
    return "unknown";
}

std::string LzhPack(const std::string& data) {
    if (data.size() > size_t(kLzhMaxSize)) throw ElzhException("LZH : input larger than 64 MiB");
    std::string code;
    code.reserve(data.size() / 2 + 16);
    LzhCoder coder;
    auto begin = reinterpret_cast<const uint8_t*>(data.data());
    BufferReader in{begin, begin + data.size()};
    StringWriter out{code};
    coder.Pack(in, out);
    return code;
}

std::string LzhUnpack(const std::string& code, int32_t size) {
    std::string out;
    if (size <= 0) return out;
    out.reserve(size_t(size));
    LzhCoder coder;
    auto begin = reinterpret_cast<const uint8_t*>(code.data());
    BufferReader in{begin, begin + code.size()};
    StringWriter writer{out};
    coder.Unpack(size, in, writer, false);
    return out;
}

std::vector<TLzhToken> LzhTokens(const std::string& code, int32_t size) {
    LzhCoder coder;
    auto begin = reinterpret_cast<const uint8_t*>(code.data());
    BufferReader in{begin, begin + code.size()};
    return coder.Tokens(size, in);
}

std::string LzhCompress(const std::string& data) {
    std::string code = LzhPack(data);
    std::string framed;
    framed.reserve(code.size() + 4);
    PutLE32(framed, int32_t(data.size()));
    framed += code;
    return framed;
}

TLzhStatus LzhDecompress(const uint8_t* data, size_t length, std::string& out) {
    out.clear();
    if (length < 4) return TLzhStatus::NoSizeField;
    int32_t size = GetLE32(data);
    if (size <= 0) return TLzhStatus::Ok;
    size_t codeLength = length - 4;
    if (size > kLzhMaxSize || int64_t(size) > int64_t(codeLength) * kMaxBytesPerCodeByte) return TLzhStatus::TooLarge;
    std::string result;
    result.reserve(size_t(size));
    LzhCoder coder;
    BufferReader in{data + 4, data + length};
    StringWriter writer{result};
    if (!coder.Unpack(size, in, writer, true)) return TLzhStatus::Truncated;
    out = std::move(result);
    return TLzhStatus::Ok;
}

TLzhStatus LzhDecompress(const std::string& framed, std::string& out) {
    return LzhDecompress(reinterpret_cast<const uint8_t*>(framed.data()), framed.size(), out);
}

void LzhCompressStream(TStream& source, TStream& destination) {
    source.SetPosition(0);
    destination.SetPosition(0);
    TMemoryStream whole;
    whole.LoadFromStream(source);
    std::string framed = LzhCompress(whole.Bytes());
    destination.WriteBuffer(framed.data(), int64_t(framed.size()));
}

TLzhStatus LzhDecompressStream(TStream& source, TMemoryStream& destination) {
    source.SetPosition(0);
    TMemoryStream whole;
    whole.LoadFromStream(source);
    std::string out;
    TLzhStatus status = LzhDecompress(whole.Bytes(), out);
    destination.Assign(std::move(out));
    return status;
}
