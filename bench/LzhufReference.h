// The published LZHUF algorithm, written plainly as it was published, as the yardstick for our
// codec: LZSS over a 4096-byte ring with a binary search tree per first byte, adaptive Huffman
// coding of literals and match lengths, and a fixed code for the upper six position bits. Input
// and output are memory buffers read and written a byte at a time, as the original's getc/putc.
//
// Two points the original leaves to its 16-bit integers are fixed as our stored code has them: the
// bit reader's buffer is 16 bits wide with zero bits past the end of the code, and a Huffman code
// longer than 16 bits goes out whole. Only the benchmark uses this; it asserts nothing.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

class LzhufReference {
public:
    std::string Encode(const std::string& input) {
        in_ = reinterpret_cast<const unsigned char*>(input.data());
        inEnd_ = in_ + input.size();
        out_.clear();
        out_.reserve(input.size() / 2 + 16);
        putbuf = 0;
        putlen = 0;
        Encode();
        return out_;
    }

    std::string Decode(const std::string& code, long textsize) {
        in_ = reinterpret_cast<const unsigned char*>(code.data());
        inEnd_ = in_ + code.size();
        out_.clear();
        out_.reserve(size_t(textsize));
        getbuf = 0;
        getlen = 0;
        Decode(textsize);
        return out_;
    }

private:
    static constexpr int N = 4096;
    static constexpr int F = 60;
    static constexpr int THRESHOLD = 2;
    static constexpr int NIL = N;
    static constexpr int N_CHAR = 256 - THRESHOLD + F;
    static constexpr int T = N_CHAR * 2 - 1;
    static constexpr int R = T - 1;
    static constexpr unsigned MAX_FREQ = 0x8000;

    int getc() { return in_ < inEnd_ ? *in_++ : -1; }
    void putc(int c) { out_.push_back(char(c)); }

    // ---- LZSS dictionary: binary trees of the strings in the ring ----

    void InitTree() {
        for (int i = N + 1; i <= N + 256; i++)
            rson[i] = NIL;
        for (int i = 0; i < N; i++)
            dad[i] = NIL;
    }

    void InsertNode(int r) {
        int i, p, cmp;
        unsigned char* key;
        unsigned c;

        cmp = 1;
        key = &text_buf[r];
        p = N + 1 + key[0];
        rson[r] = lson[r] = NIL;
        match_length = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson[p] != NIL)
                    p = rson[p];
                else {
                    rson[p] = r;
                    dad[r] = p;
                    return;
                }
            } else {
                if (lson[p] != NIL)
                    p = lson[p];
                else {
                    lson[p] = r;
                    dad[r] = p;
                    return;
                }
            }
            for (i = 1; i < F; i++)
                if ((cmp = key[i] - text_buf[p + i]) != 0) break;
            if (i > THRESHOLD) {
                if (i > match_length) {
                    match_position = ((r - p) & (N - 1)) - 1;
                    if ((match_length = i) >= F) break;
                }
                if (i == match_length) {
                    if ((c = ((r - p) & (N - 1)) - 1) < unsigned(match_position)) match_position = c;
                }
            }
        }
        dad[r] = dad[p];
        lson[r] = lson[p];
        rson[r] = rson[p];
        dad[lson[p]] = r;
        dad[rson[p]] = r;
        if (rson[dad[p]] == p)
            rson[dad[p]] = r;
        else
            lson[dad[p]] = r;
        dad[p] = NIL;
    }

    void DeleteNode(int p) {
        int q;

        if (dad[p] == NIL) return;
        if (rson[p] == NIL)
            q = lson[p];
        else if (lson[p] == NIL)
            q = rson[p];
        else {
            q = lson[p];
            if (rson[q] != NIL) {
                do {
                    q = rson[q];
                } while (rson[q] != NIL);
                rson[dad[q]] = lson[q];
                dad[lson[q]] = dad[q];
                lson[q] = lson[p];
                dad[lson[p]] = q;
            }
            rson[q] = rson[p];
            dad[rson[p]] = q;
        }
        dad[q] = dad[p];
        if (rson[dad[p]] == p)
            rson[dad[p]] = q;
        else
            lson[dad[p]] = q;
        dad[p] = NIL;
    }

    // ---- Position code tables ----

    static constexpr unsigned char p_len[64] = {
        0x03, 0x04, 0x04, 0x04, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x05, 0x06, 0x06, 0x06, 0x06,
        0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x06, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
        0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07, 0x07,
        0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};

    static constexpr unsigned char p_code[64] = {
        0x00, 0x20, 0x30, 0x40, 0x50, 0x58, 0x60, 0x68, 0x70, 0x78, 0x80, 0x88, 0x90, 0x94, 0x98, 0x9C,
        0xA0, 0xA4, 0xA8, 0xAC, 0xB0, 0xB4, 0xB8, 0xBC, 0xC0, 0xC2, 0xC4, 0xC6, 0xC8, 0xCA, 0xCC, 0xCE,
        0xD0, 0xD2, 0xD4, 0xD6, 0xD8, 0xDA, 0xDC, 0xDE, 0xE0, 0xE2, 0xE4, 0xE6, 0xE8, 0xEA, 0xEC, 0xEE,
        0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF};

    // The decoder's inverse of the two tables above: the position code and its length from the
    // first 8 bits.
    struct Inverse {
        unsigned char d_code[256], d_len[256];
        Inverse() {
            for (int i = 0; i < 64; i++)
                for (int b = p_code[i]; b < p_code[i] + (256 >> p_len[i]); b++) {
                    d_code[b] = (unsigned char)i;
                    d_len[b] = p_len[i];
                }
        }
    };
    const Inverse inverse_;

    // ---- Bit I/O ----

    int GetBit() {
        int i;
        while (getlen <= 8) {
            if ((i = getc()) < 0) i = 0;
            getbuf |= i << (8 - getlen);
            getlen += 8;
        }
        i = getbuf;
        getbuf <<= 1;
        getlen--;
        return (i >> 15) & 1;
    }

    int GetByte() {
        unsigned i;
        while (getlen <= 8) {
            int c = getc();
            if (c < 0) c = 0;
            getbuf |= c << (8 - getlen);
            getlen += 8;
        }
        i = getbuf;
        getbuf <<= 8;
        getlen -= 8;
        return int(i >> 8);
    }

    // Writes the top l bits of the 16-bit c.
    void Putcode(int l, unsigned c) {
        putbuf |= c >> putlen;
        if ((putlen += l) >= 8) {
            putc(putbuf >> 8);
            if ((putlen -= 8) >= 8) {
                putc(putbuf);
                putlen -= 8;
                putbuf = uint16_t(c << (l - putlen));
            } else {
                putbuf <<= 8;
            }
        }
    }

    // ---- Adaptive Huffman tree ----

    void StartHuff() {
        int i, j;

        for (i = 0; i < N_CHAR; i++) {
            freq[i] = 1;
            son[i] = i + T;
            prnt[i + T] = i;
        }
        i = 0;
        j = N_CHAR;
        while (j <= R) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = i;
            prnt[i] = prnt[i + 1] = j;
            i += 2;
            j++;
        }
        freq[T] = 0xffff;
        prnt[R] = 0;
    }

    void reconst() {
        int i, j, k;
        unsigned f;
        size_t l;

        j = 0;
        for (i = 0; i < T; i++) {
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                j++;
            }
        }
        for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
            k = i + 1;
            f = freq[j] = freq[i] + freq[k];
            for (k = j - 1; f < freq[k]; k--)
                ;
            k++;
            l = size_t(j - k);
            std::memmove(&freq[k + 1], &freq[k], l * sizeof freq[0]);
            freq[k] = f;
            std::memmove(&son[k + 1], &son[k], l * sizeof son[0]);
            son[k] = i;
        }
        for (i = 0; i < T; i++) {
            if ((k = son[i]) >= T)
                prnt[k] = i;
            else
                prnt[k] = prnt[k + 1] = i;
        }
    }

    void update(int c) {
        int i, j, l;
        unsigned k;

        if (freq[R] == MAX_FREQ) reconst();
        c = prnt[c + T];
        do {
            k = ++freq[c];
            if (k > freq[l = c + 1]) {
                while (k > freq[++l])
                    ;
                l--;
                freq[c] = freq[l];
                freq[l] = k;

                i = son[c];
                prnt[i] = l;
                if (i < T) prnt[i + 1] = l;

                j = son[l];
                son[l] = i;

                prnt[j] = c;
                if (j < T) prnt[j + 1] = c;
                son[c] = j;

                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }

    void EncodeChar(unsigned c) {
        uint32_t i = 0;
        int j = 0;
        int k = prnt[c + T];

        // Walk from the leaf to the root, gathering the code's bits (the last one first).
        do {
            i |= uint32_t(k & 1) << j;
            j++;
        } while ((k = prnt[k]) != R);
        while (j > 16) {
            j -= 16;
            Putcode(16, (i >> j) & 0xFFFF);
        }
        Putcode(j, (i << (16 - j)) & 0xFFFF);
        update(int(c));
    }

    void EncodePosition(unsigned c) {
        unsigned i = c >> 6;
        Putcode(p_len[i], unsigned(p_code[i]) << 8);
        Putcode(6, (c & 0x3f) << 10);
    }

    void EncodeEnd() {
        if (putlen) putc(putbuf >> 8);
    }

    int DecodeChar() {
        unsigned c = son[R];
        while (c < T) {
            c += GetBit();
            c = son[c];
        }
        c -= T;
        update(int(c));
        return int(c);
    }

    int DecodePosition() {
        unsigned i, j, c;

        i = GetByte();
        c = unsigned(inverse_.d_code[i]) << 6;
        j = inverse_.d_len[i];
        j -= 2;
        while (j--)
            i = (i << 1) + GetBit();
        return int(c | (i & 0x3f));
    }

    // ---- Compression and decompression ----

    void Encode() {
        int i, c, len, r, s, last_match_length;

        if (in_ == inEnd_) return;
        StartHuff();
        InitTree();
        s = 0;
        r = N - F;
        for (i = s; i < r; i++)
            text_buf[i] = ' ';
        for (len = 0; len < F && (c = getc()) != -1; len++)
            text_buf[r + len] = (unsigned char)c;
        for (i = 1; i <= F; i++)
            InsertNode(r - i);
        InsertNode(r);
        do {
            if (match_length > len) match_length = len;
            if (match_length <= THRESHOLD) {
                match_length = 1;
                EncodeChar(text_buf[r]);
            } else {
                EncodeChar(255 - THRESHOLD + match_length);
                EncodePosition(match_position);
            }
            last_match_length = match_length;
            for (i = 0; i < last_match_length && (c = getc()) != -1; i++) {
                DeleteNode(s);
                text_buf[s] = (unsigned char)c;
                if (s < F - 1) text_buf[s + N] = (unsigned char)c;
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                InsertNode(r);
            }
            while (i++ < last_match_length) {
                DeleteNode(s);
                s = (s + 1) & (N - 1);
                r = (r + 1) & (N - 1);
                if (--len) InsertNode(r);
            }
        } while (len > 0);
        EncodeEnd();
    }

    void Decode(long textsize) {
        int i, j, k, r, c;
        long count;

        if (textsize <= 0) return;
        StartHuff();
        for (i = 0; i < N - F; i++)
            text_buf[i] = ' ';
        r = N - F;
        for (count = 0; count < textsize;) {
            c = DecodeChar();
            if (c < 256) {
                putc(c);
                text_buf[r++] = (unsigned char)c;
                r &= (N - 1);
                count++;
            } else {
                i = (r - DecodePosition() - 1) & (N - 1);
                j = c - 255 + THRESHOLD;
                for (k = 0; k < j; k++) {
                    c = text_buf[(i + k) & (N - 1)];
                    putc(c);
                    text_buf[r++] = (unsigned char)c;
                    r &= (N - 1);
                    count++;
                }
            }
        }
    }

    unsigned char text_buf[N + F - 1] = {};
    int match_position = 0, match_length = 0;
    int lson[N + 1] = {}, rson[N + 257] = {}, dad[N + 1] = {};
    unsigned freq[T + 1] = {};
    int prnt[T + N_CHAR] = {};
    int son[T] = {};
    uint16_t getbuf = 0, putbuf = 0;
    unsigned getlen = 0, putlen = 0;

    const unsigned char* in_ = nullptr;
    const unsigned char* inEnd_ = nullptr;
    std::string out_;
};
