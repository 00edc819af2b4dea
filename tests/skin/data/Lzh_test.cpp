#include "skin/data/Lzh.h"

#include "bench/LzhufReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

namespace {

std::string Hex(const std::string& s) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string RandomBytes(size_t n, unsigned seed, int alphabet = 256) {
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char& c : s)
        c = char(rng() % unsigned(alphabet));
    return s;
}

// Text-like data: words from a small vocabulary, so matches of every length and distance occur.
std::string Words(size_t n, unsigned seed) {
    static const char* vocabulary[] = {"skin", "button", "caption", "frame",      "=",   "\r\n",
                                       "[",    "]",      " ",       "0x00FF00FF", "bmp", "border",
                                       "menu", "item",   "active",  "12",         "345", "colour"};
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n)
        s += vocabulary[rng() % (sizeof vocabulary / sizeof *vocabulary)];
    s.resize(n);
    return s;
}

// Copies of earlier stretches with lengths skewed towards short matches, long enough to make the
// Huffman tree rebuild (root frequency 0x8000) many times.
std::string SkewedMatches(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s = RandomBytes(4096, seed);
    while (s.size() < n) {
        int len = 3;
        while (len < 60 && rng() % 8 < 5)
            len++;
        size_t from = s.size() - 4000 + rng() % 3000;
        for (int i = 0; i < len; ++i)
            s.push_back(s[from + i]);
        if (rng() % 4 == 0) s.push_back(char(rng()));
    }
    s.resize(n);
    return s;
}

// Symbols of one Huffman period chosen so that the tree grows a Fibonacci chain under a flat pool:
// 256 literals and 49 match lengths `pool` times each (shuffled), then nine lengths with counts
// 0, 0, 1, 2, 4, 7, 12, 20, 33 (weights 1, 1, 2, 3, 5, 8, 13, 21, 34), then one length never sent
// before: its leaf sits at the bottom of the chain, 17 levels deep.
std::string DeepTreeInput(int pool, unsigned seed) {
    std::mt19937 rng(seed);
    auto shuffle = [&](std::vector<int>& v) {
        for (size_t i = v.size(); i > 1; --i)
            std::swap(v[i - 1], v[rng() % i]);
    };
    const int chainCount[9] = {0, 0, 1, 2, 4, 7, 12, 20, 33};
    std::vector<int> events, tail; // 0..255 literal, 256 + L a match of length L
    for (int v = 0; v < 256; ++v)
        events.insert(events.end(), size_t(pool), v);
    for (int len = 3; len <= 60; ++len) {
        bool chain = len >= 30 && len <= 54 && (len - 30) % 3 == 0;
        if (chain)
            tail.insert(tail.end(), size_t(chainCount[(len - 30) / 3]), 256 + len);
        else
            events.insert(events.end(), size_t(pool), 256 + len);
    }
    shuffle(events);
    shuffle(tail);
    events.insert(events.end(), tail.begin(), tail.end());
    events.push_back(256 + 30);
    std::string s;
    for (int i = 0; i < 300; ++i)
        s.push_back(char(rng()));
    int forbid = -1; // the byte that would lengthen the previous copy
    for (size_t k = 0; k < events.size(); ++k) {
        if (events[k] < 256 && events[k] == forbid) {
            size_t j = k + 1;
            while (j < events.size() && events[j] == forbid)
                ++j;
            if (j < events.size()) std::swap(events[k], events[j]);
        }
        int e = events[k];
        if (e < 256) {
            s.push_back(char(e));
            forbid = -1;
            continue;
        }
        int len = e - 256;
        size_t span = std::min<size_t>(s.size() - 70, 4000), from;
        int tries = 0;
        do { // a source that neither lengthens the previous copy nor extends backwards
            from = s.size() - span + rng() % (span - 62);
        } while (++tries < 100 && ((forbid >= 0 && uint8_t(s[from]) == forbid) || s[from - 1] == s.back()));
        for (int i = 0; i < len; ++i)
            s.push_back(s[from + i]);
        forbid = uint8_t(s[from + size_t(len)]);
    }
    return s;
}

// Bitmap-like rows: runs of a few 3-byte colours with a little noise, as skin images are. Long
// matches and deep dictionary trees come from these.
std::string PixelRuns(size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::string s;
    while (s.size() < n) {
        uint8_t b = uint8_t(rng() % 4 * 60), g = uint8_t(rng() % 3 * 90), r = uint8_t(rng() % 2 * 255);
        for (int run = int(rng() % 90) + 1; run > 0; --run) {
            s.push_back(char(b));
            s.push_back(char(g ^ (rng() % 16 == 0)));
            s.push_back(char(r));
        }
    }
    s.resize(n);
    return s;
}

void ExpectRoundTrip(const std::string& data) {
    std::string code = LzhPack(data);
    ASSERT_EQ(LzhUnpack(code, int32_t(data.size())), data) << "size " << data.size();
    std::string framed = LzhCompress(data), out;
    ASSERT_EQ(framed.substr(4), code);
    ASSERT_EQ(LzhDecompress(framed, out), TLzhStatus::Ok);
    ASSERT_EQ(out, data);
}

// Hand-derived from the initial Huffman tree (leaf n's parent is 314 + n / 2) and the position code.
TEST(LzhKnownAnswer, HandDerivedCodes) {
    // 'A' is leaf 65: path bits 1 1 1 0 0 1 1 0 1, padded with zeros.
    EXPECT_EQ(Hex(LzhPack("A")), "E680");
    // Seventy spaces match the space-filled ring: symbol 313 (length 60, code 11000101), position 59
    // (000 111011), then symbol 263 (length 10, code 10010011), position 49 (000 110001).
    EXPECT_EQ(Hex(LzhPack(std::string(70, ' '))), "C51DC98C40");
    // And the decoder reads them back on its own.
    EXPECT_EQ(LzhUnpack(std::string("\xE6\x80", 2), 1), "A");
    EXPECT_EQ(LzhUnpack(std::string("\xC5\x1D\xC9\x8C\x40", 5), 70), std::string(70, ' '));
    // A copy from before the first byte reads the ring as decoding starts: F zero bytes, then spaces.
    // Length 60 from position 4095 (11111111 111111), then from 4066 (11111111 100010).
    EXPECT_EQ(LzhUnpack(std::string("\xC5\xFF\xFC", 3), 60), std::string(60, '\0'));
    EXPECT_EQ(LzhUnpack(std::string("\xC5\xFF\x88", 3), 60), std::string(31, '\0') + std::string(29, ' '));
}

TEST(LzhKnownAnswer, MatchStructure) {
    // A run of any byte but the space: one literal, then matches at distance 1.
    for (char c : {'a', '\0', '\xFF'}) {
        std::string run(200, c);
        std::vector<TLzhToken> t = LzhTokens(LzhPack(run), 200);
        ASSERT_EQ(t.size(), 5u);
        EXPECT_FALSE(t[0].IsMatch);
        EXPECT_EQ(char(t[0].Literal), c);
        for (int i = 1; i <= 3; ++i)
            EXPECT_TRUE(t[size_t(i)].IsMatch && t[size_t(i)].Length == 60 && t[size_t(i)].Position == 0);
        EXPECT_TRUE(t[4].IsMatch && t[4].Length == 19 && t[4].Position == 0);
    }
    std::vector<TLzhToken> t = LzhTokens(LzhPack(std::string(70, ' ')), 70);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_TRUE(t[0].IsMatch && t[0].Length == 60 && t[0].Position == 59);
    EXPECT_TRUE(t[1].IsMatch && t[1].Length == 10 && t[1].Position == 49);

    // Leading spaces match the prefilled ring too, on both sides.
    std::string text = "   x";
    t = LzhTokens(LzhPack(text), 4);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_TRUE(t[0].IsMatch && t[0].Length == 3);
    EXPECT_EQ(LzhUnpack(LzhPack(text), 4), text);

    // "abcab" has a 2-byte repeat: too short, so literals only; "abcabc" gets a 3-byte match.
    for (const TLzhToken& k : LzhTokens(LzhPack("abcab"), 5))
        EXPECT_FALSE(k.IsMatch);
    t = LzhTokens(LzhPack("abcabc"), 6);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_TRUE(t[3].IsMatch && t[3].Length == 3 && t[3].Position == 2);
}

TEST(LzhKnownAnswer, CandidateChoice) {
    // "xyz3" has two 3-byte candidates; the nearer one (4 back, position 3) wins over 8 back.
    std::vector<TLzhToken> t = LzhTokens(LzhPack("xyz1xyz2xyz3"), 12);
    ASSERT_EQ(t.size(), 8u);
    EXPECT_TRUE(t[6].IsMatch && t[6].Length == 3 && t[6].Position == 3);
    // A longer match beats a nearer shorter one.
    t = LzhTokens(LzhPack("abcdXabcYabcd"), 13);
    ASSERT_FALSE(t.empty());
    EXPECT_TRUE(t.back().IsMatch && t.back().Length == 4 && t.back().Position == 8);
}

// Pinned outputs of this packer (checked against the hand-derived codes above), so that any change
// of the bit stream shows up: stored skins depend on it.
TEST(LzhKnownAnswer, PinnedCodes) {
    auto fnv = [](const std::string& s) {
        uint64_t h = 1469598103934665603ull;
        for (unsigned char c : s)
            h = (h ^ c) * 1099511628211ull;
        return h;
    };
    std::string words = Words(100000, 1);
    std::string code = LzhPack(words);
    EXPECT_EQ(code.size(), 24168u);
    EXPECT_EQ(fnv(code), 0xa824aee7b5984303ull);
    code = LzhPack(SkewedMatches(300000, 2));
    EXPECT_EQ(code.size(), 143816u);
    EXPECT_EQ(fnv(code), 0xa652e35f3da2ed6bull);
}

// The codec is the published LZHUF algorithm bit for bit: its code equals a plain rendering of it
// (the benchmark's yardstick) on every kind of input, whatever shortcuts the codec takes.
TEST(LzhKnownAnswer, SameCodeAsPlainLzhuf) {
    auto reference = std::make_unique<LzhufReference>();
    const std::string inputs[] = {Words(200000, 16),         PixelRuns(300000, 17),    RandomBytes(60000, 18),
                                  SkewedMatches(200000, 19), std::string(70000, '\0'), DeepTreeInput(100, 20),
                                  RandomBytes(5000, 21, 3)};
    for (const std::string& data : inputs) {
        std::string code = LzhPack(data);
        ASSERT_EQ(code, reference->Encode(data)) << "size " << data.size();
        ASSERT_EQ(LzhUnpack(code, int32_t(data.size())), data);
    }
}

// Code in memory decodes by its own fast path; the byte-at-a-time path must read any code, also
// garbage that runs out or copies from before the first byte, to the same bytes.
TEST(LzhUnpackEnds, MemoryAndCallbackDecodersAgreeOnAnyCode) {
    std::mt19937 rng(22);
    std::string valid = LzhPack(Words(3000, 23) + PixelRuns(3000, 24));
    for (int round = 0; round < 200; ++round) {
        std::string code =
            round % 2 ? RandomBytes(rng() % 300, unsigned(round)) : valid.substr(0, rng() % valid.size());
        int32_t size = int32_t(rng() % 9000) + 1;
        std::string fast = LzhUnpack(code, size);
        size_t pos = 0;
        std::string slow;
        TLZH lzh;
        lzh.LZHUnpack(
            size,
            [&](uint8_t* d, uint16_t, uint16_t& got) {
                got = pos < code.size() ? 1 : 0;
                if (got) *d = uint8_t(code[pos++]);
            },
            [&](const uint8_t* d, uint16_t n, uint16_t& put) {
                slow.push_back(char(*d));
                put = n;
            });
        ASSERT_EQ(fast.size(), size_t(size));
        ASSERT_EQ(fast, slow) << "round " << round;
    }
}

TEST(LzhRoundTrip, SizesAroundTheWindowAndLookAhead) {
    for (size_t n : {0, 1, 2, 3, 4, 59, 60, 61, 119, 120, 121, 4035, 4036, 4095, 4096, 4097, 4155, 8192, 10000})
        for (unsigned seed : {1u, 2u}) {
            ExpectRoundTrip(RandomBytes(n, seed));
            ExpectRoundTrip(RandomBytes(n, seed, 3));
            ExpectRoundTrip(Words(n, seed));
            ExpectRoundTrip(std::string(n, ' '));
        }
}

// Several MiB of each kind; each passes 0x8000 symbols, so the Huffman tree is rebuilt many times.
TEST(LzhRoundTrip, LargeText) {
    ExpectRoundTrip(Words(3 << 20, 4));
}

TEST(LzhRoundTrip, LargeRandomLiterals) {
    ExpectRoundTrip(RandomBytes(256 << 10, 3));
}

TEST(LzhRoundTrip, LargeSkewedMatches) {
    ExpectRoundTrip(SkewedMatches(1 << 20, 5));
}

TEST(LzhRoundTrip, MixedKinds) {
    std::string mixed = RandomBytes(100000, 6, 2) + std::string(100000, 'z') + Words(100000, 7);
    ExpectRoundTrip(mixed);
}

TEST(LzhRoundTrip, DeepCodesDecode) {
    // These reach a 17-bit code (checked with an instrumented build); a packer that keeps only 16
    // bits of it produces code that decodes to other bytes.
    for (unsigned seed : {1u, 2u, 3u})
        ExpectRoundTrip(DeepTreeInput(100, seed));
}

TEST(LzhCallbacks, ByteAtATimeThroughStreams) {
    std::string data = Words(50000, 8);
    TMemoryStream in, packed, unpacked;
    in.Assign(data);
    TLZH lzh;
    lzh.InStream = &in;
    lzh.OutStream = &packed;
    int32_t count = -1;
    int reads = 0, writes = 0;
    TReadProc base = lzh.StreamReader();
    TWriteProc baseWriter = lzh.StreamWriter();
    lzh.LZHPack(
        count,
        [&](uint8_t* d, uint16_t n, uint16_t& got) {
            EXPECT_EQ(n, 1);
            ++reads;
            base(d, n, got);
        },
        [&](const uint8_t* d, uint16_t n, uint16_t& put) {
            EXPECT_EQ(n, 1);
            ++writes;
            baseWriter(d, n, put);
        });
    EXPECT_EQ(count, 50000);
    EXPECT_EQ(packed.Bytes(), LzhPack(data));
    EXPECT_EQ(writes, int(packed.Size()));
    EXPECT_LE(reads, 50000 + 61); // every byte once, plus the end reports

    packed.SetPosition(0);
    lzh.InStream = &packed;
    lzh.OutStream = &unpacked;
    lzh.LZHUnpack(50000, lzh.StreamReader(), lzh.StreamWriter());
    EXPECT_EQ(unpacked.Bytes(), data);
    // The bit reader fetches at most two bytes ahead of the code it used.
    EXPECT_LE(packed.Position(), packed.Size());
    EXPECT_GE(packed.Position(), packed.Size() - 2);
}

TEST(LzhCallbacks, EmptyInputAndZeroSize) {
    TLZH lzh;
    int32_t count = -1;
    int reads = 0, writes = 0;
    auto reader = [&](uint8_t*, uint16_t, uint16_t& got) {
        ++reads;
        got = 0;
    };
    auto writer = [&](const uint8_t*, uint16_t n, uint16_t& put) {
        ++writes;
        put = n;
    };
    lzh.LZHPack(count, reader, writer);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(writes, 0);
    reads = 0;
    lzh.LZHUnpack(0, reader, writer);
    lzh.LZHUnpack(-5, reader, writer);
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(writes, 0);
}

TEST(LzhCallbacks, WriterExceptionPropagates) {
    TLZH lzh;
    int32_t count = 0;
    std::string data = Words(10000, 9);
    size_t pos = 0;
    int written = 0;
    auto reader = [&](uint8_t* d, uint16_t, uint16_t& got) {
        got = pos < data.size() ? 1 : 0;
        if (got) *d = uint8_t(data[pos++]);
    };
    auto writer = [&](const uint8_t*, uint16_t n, uint16_t& put) {
        if (++written == 100) throw EWriteError("disk full");
        put = n;
    };
    EXPECT_THROW(lzh.LZHPack(count, reader, writer), EWriteError);
    // The object is usable again: every call starts from fresh tables.
    std::string code;
    pos = 0;
    lzh.LZHPack(count, reader, [&](const uint8_t* d, uint16_t n, uint16_t& put) {
        code.push_back(char(*d));
        put = n;
    });
    EXPECT_EQ(code, LzhPack(data));
}

TEST(LzhUnpackEnds, StopsAtTheStatedSizeEvenInsideAMatch) {
    std::string run(200, 'q');
    std::string code = LzhPack(run);
    for (int32_t n : {1, 2, 30, 61, 100, 199})
        EXPECT_EQ(LzhUnpack(code, n), std::string(size_t(n), 'q'));
}

TEST(LzhUnpackEnds, PastTheCodeReadsZeroBits) {
    std::string data = Words(3000, 10);
    std::string code = LzhPack(data);
    std::string out = LzhUnpack(code, 5000);
    ASSERT_EQ(out.size(), 5000u);
    EXPECT_EQ(out.substr(0, 3000), data);
    // Strict decoding refuses the same request.
    std::string framed = code, result;
    framed.insert(0, std::string("\x88\x13\0\0", 4)); // 5000
    EXPECT_EQ(LzhDecompress(framed, result), TLzhStatus::Truncated);
    EXPECT_TRUE(result.empty());
}

TEST(LzhFraming, SizesAreNotTrusted) {
    std::string out = "old";
    EXPECT_EQ(LzhDecompress(std::string("\x01\0\0", 3), out), TLzhStatus::NoSizeField);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(LzhDecompress(std::string(), out), TLzhStatus::NoSizeField);
    // Negative and zero sizes decode nothing.
    EXPECT_EQ(LzhDecompress(std::string("\xFF\xFF\xFF\xFF", 4), out), TLzhStatus::Ok);
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(LzhDecompress(std::string("\0\0\0\0", 4), out), TLzhStatus::Ok);
    // Beyond 64 MiB, or beyond what the code could hold (48 bytes per code byte), is refused unread.
    std::string big = std::string("\x01\0\0\x04", 4) + std::string(1 << 20, '\0');
    EXPECT_EQ(LzhDecompress(big, out), TLzhStatus::TooLarge);
    std::string framed = LzhCompress(std::string(1000, 'a'));
    EXPECT_EQ(LzhDecompress(framed, out), TLzhStatus::Ok);
    EXPECT_EQ(out, std::string(1000, 'a'));
    framed[0] = char(0x40);
    framed[1] = char(0x9C); // 40000 bytes claimed from a few dozen code bytes
    EXPECT_EQ(LzhDecompress(framed, out), TLzhStatus::TooLarge);
    // The most compressible input still fits the bound.
    std::string zeros(1 << 20, '\0');
    EXPECT_EQ(LzhDecompress(LzhCompress(zeros), out), TLzhStatus::Ok);
    EXPECT_EQ(out.size(), zeros.size());
}

TEST(LzhFraming, EveryTruncationIsRefused) {
    std::string data = Words(2000, 11) + RandomBytes(500, 12);
    std::string framed = LzhCompress(data), out;
    for (size_t cut = 0; cut < framed.size(); ++cut) {
        TLzhStatus st = LzhDecompress(framed.substr(0, cut), out);
        ASSERT_NE(st, TLzhStatus::Ok) << "cut at " << cut;
        ASSERT_TRUE(out.empty());
    }
}

TEST(LzhFraming, MutationsNeverCrash) {
    std::string data = Words(1500, 13);
    std::string framed = LzhCompress(data);
    std::mt19937 rng(14);
    int accepted = 0;
    for (size_t i = 0; i < framed.size(); ++i) {
        for (int flip : {1, 0x80, int(rng() % 255) + 1}) {
            std::string bad = framed, out;
            bad[i] = char(bad[i] ^ flip);
            TLzhStatus st = LzhDecompress(bad, out);
            if (st == TLzhStatus::Ok) {
                ++accepted;
                int32_t size = int32_t(uint8_t(bad[0]) | uint8_t(bad[1]) << 8 | uint8_t(bad[2]) << 16 |
                                       uint32_t(uint8_t(bad[3])) << 24);
                ASSERT_EQ(out.size(), size_t(size > 0 ? size : 0));
            } else {
                ASSERT_TRUE(out.empty());
            }
        }
    }
    EXPECT_GT(accepted, 0); // flips in the code itself decode to other bytes of the same size
}

TEST(LzhStreams, CompressAndDecompressRewind) {
    std::string data = Words(20000, 15);
    TMemoryStream source, packed, back;
    source.Assign(data);
    source.SetPosition(123);
    LzhCompressStream(source, packed);
    EXPECT_EQ(packed.Bytes(), LzhCompress(data));
    packed.Seek(0, TSeekOrigin::soEnd);
    back.Assign("stale bytes that must go");
    EXPECT_EQ(LzhDecompressStream(packed, back), TLzhStatus::Ok);
    EXPECT_EQ(back.Bytes(), data);
    EXPECT_EQ(back.Position(), 0);
    packed.SetSize(packed.Size() - 1);
    EXPECT_EQ(LzhDecompressStream(packed, back), TLzhStatus::Truncated);
    EXPECT_EQ(back.Size(), 0);
}

} // namespace
