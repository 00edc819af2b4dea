#include "skin/data/Lzh.h"

#include <cstring>
#include <memory>
#include <new>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr int N = 4096;                     // ring size
constexpr int F = 60;                       // look-ahead = longest match
constexpr int THRESHOLD = 2;                // matches this long or shorter go out as literals
constexpr int NIL = N;                      // absent tree node
constexpr int N_CHAR = 256 - THRESHOLD + F; // literals and match lengths 3..60
constexpr int T = N_CHAR * 2 - 1;           // Huffman tree nodes
constexpr int R = T - 1;                    // root
constexpr unsigned MAX_FREQ = 0x8000;
// Sentinel counts past the last node, so that Swap's scan may read eight at a time.
constexpr int kScanPad = 8;
// No leaf lies deeper than the number of inner nodes.
constexpr int kMaxDepth = N_CHAR - 1;
// Bytes past the ring's mirrored tail that the word-wide comparison may read (and ignore).
constexpr int kComparePad = 8;

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "FirstDifference counts bytes from the low end of a word");

inline uint64_t Load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The index of the first byte in from..F-1 where a and b differ (F when none does) and whether
// a's byte there is greater than b's (false when none differs); eight bytes per step. Both may be
// read up to kComparePad bytes past index F-1.
inline int FirstDifference(const uint8_t* a, const uint8_t* b, int from, bool& greater) {
    for (int i = from; i < F; i += 8) {
        uint64_t x, y;
        std::memcpy(&x, a + i, 8);
        std::memcpy(&y, b + i, 8);
        if (uint64_t d = x ^ y) {
            i += __builtin_ctzll(d) >> 3;
            // Byte-swapped, the words compare as their bytes do in memory order.
            greater = i < F && __builtin_bswap64(x) > __builtin_bswap64(y);
            return i < F ? i : F;
        }
    }
    greater = false;
    return F;
}

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
            text_buf.reset(new uint8_t[N + F - 1 + kComparePad]());
            kids.reset(new Children[N + 257]());
            dad.reset(new uint16_t[N + 1]());
            freq.reset(new uint16_t[T + 1 + kScanPad]());
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
    // Unpack's rules over code held in memory, decoding into out (size bytes; empty when false is
    // returned). Several times faster than Unpack through a reader and writer: bits come from a
    // 64-bit window filled eight bytes at a time, and matches copy from the output itself.
    bool UnpackBuffer(const uint8_t* code, size_t length, int32_t size, std::string& out, bool strict);

private:
    void InitTree();
    void InsertNode(int r);
    void DeleteNode(int p);
    void StartHuff();
    void reconst();
    void update(int c);
    void UpdateAlong(int c, const uint16_t* path, int n);
    int Swap(int c, unsigned k);
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
    // The dictionary's binary trees: a node's two children side by side, so that a search step picks
    // one by index instead of by branch. Nodes N+1..N+256 are the roots (right child only).
    struct Children {
        uint16_t child[2]; // [0] left (smaller strings), [1] right
    };
    std::unique_ptr<Children[]> kids;
    uint32_t BothChildren(int p) const {
        uint32_t both;
        std::memcpy(&both, kids[p].child, sizeof both);
        return both;
    }
    uint16_t& lson(int p) { return kids[p].child[0]; }
    uint16_t& rson(int p) { return kids[p].child[1]; }
    std::unique_ptr<uint16_t[]> dad, freq, prnt, son;

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
        rson(i) = NIL;
    for (int i = 0; i < N; i++)
        dad[i] = NIL;
}

// Inserts the string at r into the tree of its first byte and leaves the longest match (nearest on
// equal length) in match_length/match_position. A full-length match replaces the old node.
//
// The step from a node to its child is the search's critical path, and its direction is a coin toss
// on most data. So each step loads both children and their first string bytes before the
// comparison has chosen between them, picks by index rather than by branch, and chooses the best
// candidate the same way. The tree orders its strings, so every node below the search's last left
// and last right turn shares with the key at least the shorter of those two nodes' common prefixes
// with it: longer comparisons start there. The lengths found are the same as from byte 1.
void LzhCoder::InsertNode(int r) {
    const uint8_t* key = &text_buf[r];
    const uint64_t keyWord = Load64(key + 1);
    const uint64_t keyOrder = __builtin_bswap64(keyWord);
    int p = N + 1 + key[0];
    rson(r) = lson(r) = NIL;
    int length = 0;
    unsigned position = 0;
    int next = rson(p);
    if (next == NIL) {
        rson(p) = uint16_t(r);
        dad[r] = uint16_t(p);
        match_length = 0;
        return;
    }
    p = next;
    uint64_t word = Load64(&text_buf[p + 1]); // bytes 1..8 of node p's string
    uint32_t both = BothChildren(p);
    int lowPrefix = 1, highPrefix = 1; // every string of the tree starts with key[0]
    for (;;) {
        // The next step's loads, for either direction (NIL is a valid index of both arrays).
        const unsigned left = both & 0xFFFF, right = both >> 16;
        const uint64_t leftWord = Load64(&text_buf[left + 1]), rightWord = Load64(&text_buf[right + 1]);
        const uint32_t leftBoth = BothChildren(int(left)), rightBoth = BothChildren(int(right));

        int i;
        bool greater;
        if (uint64_t d = keyWord ^ word) {
            i = 1 + int(__builtin_ctzll(d) >> 3);
            greater = keyOrder > __builtin_bswap64(word);
        } else {
            int from = lowPrefix < highPrefix ? lowPrefix : highPrefix;
            i = FirstDifference(key, &text_buf[p], from > 9 ? from : 9, greater);
        }
        const bool equal = i >= F;
        const unsigned goRight = unsigned(greater | equal);
        lowPrefix = goRight ? i : lowPrefix;
        highPrefix = goRight ? highPrefix : i;
        // Longer wins; on equal length the nearer (smaller position) wins.
        unsigned c = unsigned(((r - p) & (N - 1)) - 1);
        bool take = i > THRESHOLD && (i > length || (i == length && c < position));
        length = take ? i : length;
        position = take ? c : position;
        if (equal) break;
        next = int(goRight ? right : left);
        if (next == NIL) {
            kids[p].child[goRight] = uint16_t(r);
            dad[r] = uint16_t(p);
            break;
        }
        p = next;
        word = goRight ? rightWord : leftWord;
        both = goRight ? rightBoth : leftBoth;
    }
    match_length = int16_t(length);
    match_position = uint16_t(position);
    if (length < F) return;
    dad[r] = dad[p];
    lson(r) = lson(p);
    rson(r) = rson(p);
    dad[lson(p)] = uint16_t(r);
    dad[rson(p)] = uint16_t(r);
    if (rson(dad[p]) == p)
        rson(dad[p]) = uint16_t(r);
    else
        lson(dad[p]) = uint16_t(r);
    dad[p] = NIL;
}

void LzhCoder::DeleteNode(int p) {
    if (dad[p] == NIL) return;
    int q;
    if (rson(p) == NIL) {
        q = lson(p);
    } else if (lson(p) == NIL) {
        q = rson(p);
    } else {
        q = lson(p);
        if (rson(q) != NIL) {
            do {
                q = rson(q);
            } while (rson(q) != NIL);
            rson(dad[q]) = lson(q);
            dad[lson(q)] = dad[q];
            lson(q) = lson(p);
            dad[lson(p)] = uint16_t(q);
        }
        rson(q) = rson(p);
        dad[rson(p)] = uint16_t(q);
    }
    dad[q] = dad[p];
    if (rson(dad[p]) == p)
        rson(dad[p]) = uint16_t(q);
    else
        lson(dad[p]) = uint16_t(q);
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
    for (int i = T; i <= T + kScanPad; i++)
        freq[i] = 0xFFFF; // sentinels: stop the sibling scan in Swap
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
        if (k > freq[c + 1]) c = Swap(c, k);
    } while ((c = prnt[c]) != 0);
}

// Node c's count k now exceeds its right neighbour's: moves c past the last node with a smaller
// count by swapping the two subtrees. Returns c's new position.
int LzhCoder::Swap(int c, unsigned k) {
    int l = c + 1;
#ifdef __SSE2__
    // On data with flat statistics many nodes share a count, so the scan is long: eight at a time.
    // A lane of (k - count, saturated) is zero where count >= k.
    const __m128i key = _mm_set1_epi16(short(k));
    const __m128i zero = _mm_setzero_si128();
    for (int from = l + 1;; from += 8) {
        __m128i counts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&freq[from]));
        unsigned stop = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(key, counts), zero)));
        if (stop) {
            l = from + int(__builtin_ctz(stop) >> 1);
            break;
        }
    }
#else
    while (k > freq[++l]) {
    }
#endif
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
    return l;
}

// update(c) for a coder that has just walked c's path: path[0] is the position of c's leaf, each next
// entry its parent, path[n - 1] the root. Until the first swap the walk follows the path instead of
// loading each parent in turn, which breaks the chain of dependent loads that bounds update's speed.
void LzhCoder::UpdateAlong(int c, const uint16_t* path, int n) {
    if (freq[R] == MAX_FREQ) {
        update(c);
        return;
    }
    for (int m = 0; m < n; ++m) {
        int node = path[m];
        unsigned k = ++freq[node];
        if (k > freq[node + 1]) {
            node = Swap(node, k);
            while ((node = prnt[node]) != 0) {
                k = ++freq[node];
                if (k > freq[node + 1]) node = Swap(node, k);
            }
            return;
        }
    }
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
    uint16_t path[kMaxDepth + 1];
    int k = prnt[c + T];
    do {
        path[bits] = uint16_t(k);
        code |= uint64_t(k & 1) << bits;
        bits++;
    } while ((k = prnt[k]) != R);
    path[bits] = R;
    UpdateAlong(int(c), path, bits + 1);
    while (bits > 16) {
        bits -= 16;
        Putcode(writer, 16, uint32_t(code >> bits));
    }
    Putcode(writer, bits, uint32_t(code));
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

// Code bits, most significant first, from memory; past the end they read as zero bits.
class BitWindow {
public:
    BitWindow(const uint8_t* code, size_t length) : p_(code), end_(code + length) {}

    // Makes at least 57 bits available.
    void Refill() {
        if (end_ - p_ >= 8) {
            uint64_t v;
            std::memcpy(&v, p_, 8);
            // Bits past the ones counted are the code's next bits too, so ORing them in twice is harmless.
            bits_ |= __builtin_bswap64(v) >> avail_;
            int take = (64 - avail_) >> 3;
            p_ += take;
            avail_ += take << 3;
            return;
        }
        while (avail_ <= 56) {
            uint64_t b = 0;
            if (p_ < end_)
                b = *p_++;
            else
                zeroBytes_++;
            bits_ |= b << (56 - avail_);
            avail_ += 8;
        }
    }
    int Available() const { return avail_; }
    unsigned Peek(int n) const { return unsigned(bits_ >> (64 - n)); }
    void Skip(int n) {
        bits_ <<= n;
        avail_ -= n;
    }
    // Whether the bits used so far go beyond the code's end.
    bool RanOut() const { return zeroBytes_ > 0 && zeroBytes_ * 8 > avail_; }

private:
    uint64_t bits_ = 0; // left-aligned; avail_ of them are counted
    int avail_ = 0;
    const uint8_t* p_;
    const uint8_t* end_;
    int64_t zeroBytes_ = 0;
};

bool LzhCoder::UnpackBuffer(const uint8_t* code, size_t length, int32_t size, std::string& out, bool strict) {
    out.clear();
    if (size <= 0) return true;
    StartHuff();
    out.resize(size_t(size));
    uint8_t* dst = reinterpret_cast<uint8_t*>(&out[0]);
    BitWindow in(code, length);
    for (int32_t count = 0; count < size;) {
        if (in.Available() < 32) in.Refill();
        // The path is written from the root at the end of the array towards its start.
        uint16_t path[kMaxDepth + 1];
        int top = kMaxDepth;
        path[top] = R;
        unsigned c = son[R];
        while (c < T) {
            if (in.Available() == 0) in.Refill();
            unsigned position = c + in.Peek(1);
            in.Skip(1);
            path[--top] = uint16_t(position);
            c = son[position];
        }
        c -= T;
        UpdateAlong(int(c), path + top, kMaxDepth + 1 - top);
        if (c < 256) {
            dst[count++] = uint8_t(c);
            continue;
        }
        if (in.Available() < 16) in.Refill();
        unsigned first = in.Peek(8);
        int bits = kPos.d_len[first] + 6; // the first byte and d_len - 2 more bits
        unsigned position = (unsigned(kPos.d_code[first]) << 6) | (in.Peek(bits) & 0x3F);
        in.Skip(bits);
        int32_t from = count - int32_t(position) - 1;
        int32_t n = int32_t(c) - 255 + THRESHOLD;
        if (n > size - count) n = size - count;
        if (from >= 0) {
            const uint8_t* src = dst + from;
            uint8_t* to = dst + count;
            if (count - from >= 8 && count + n + 8 <= size) {
                for (int32_t k = 0; k < n; k += 8)
                    std::memcpy(to + k, src + k, 8);
            } else {
                for (int32_t k = 0; k < n; ++k)
                    to[k] = src[k];
            }
        } else {
            // Before the first byte lies the ring as decoding starts: N - F spaces after F zero bytes.
            for (int32_t k = 0; k < n; ++k) {
                int32_t at = from + k;
                dst[count + k] = at >= 0 ? dst[at] : at >= -(N - F) ? ' ' : 0;
            }
        }
        count += n;
    }
    // The bits used only grow, so code that ran out before any symbol has run out after the last.
    if (strict && in.RanOut()) {
        out.clear();
        return false;
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
    LzhCoder coder;
    coder.UnpackBuffer(reinterpret_cast<const uint8_t*>(code.data()), code.size(), size, out, false);
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
    LzhCoder coder;
    if (!coder.UnpackBuffer(data + 4, codeLength, size, result, true)) return TLzhStatus::Truncated;
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
