// LZH pack and unpack throughput on a few kinds of input. Prints MB/s of CPU time (1 MB = 10^6
// bytes of uncompressed data); asserts nothing. Build with the host-release preset for meaningful figures.
#include "skin/data/Lzh.h"

#include <cstdio>
#include <ctime>
#include <random>

namespace {

std::string Text(size_t n) {
    static const char* words[] = {"skin",       "button", "caption", "frame", "=",    "\r\n",   "[",  "]",   " ",
                                  "0x00FF00FF", "bmp",    "border",  "menu",  "item", "active", "12", "345", "colour"};
    std::mt19937 rng(1);
    std::string s;
    while (s.size() < n)
        s += words[rng() % (sizeof words / sizeof *words)];
    s.resize(n);
    return s;
}

// 24-bit bitmap-like rows: runs of a few colours with noise, as skin images are.
std::string Bitmap(size_t n) {
    std::mt19937 rng(2);
    std::string s;
    while (s.size() < n) {
        uint8_t b = uint8_t(rng()), g = uint8_t(rng()), r = uint8_t(rng());
        for (int run = int(rng() % 40) + 1; run > 0; --run) {
            s.push_back(char(b));
            s.push_back(char(g ^ (rng() % 8 == 0)));
            s.push_back(char(r));
        }
    }
    s.resize(n);
    return s;
}

std::string Random(size_t n) {
    std::mt19937 rng(3);
    std::string s(n, '\0');
    for (char& c : s)
        c = char(rng());
    return s;
}

// CPU seconds per run: on a shared machine wall time mostly measures the other processes.
template <class F> double Seconds(F&& f, int repeat) {
    std::clock_t start = std::clock();
    for (int i = 0; i < repeat; ++i)
        f();
    return double(std::clock() - start) / CLOCKS_PER_SEC / repeat;
}

void Measure(const char* name, const std::string& data) {
    std::string code;
    double pack = Seconds([&] { code = LzhCompress(data); }, 3);
    std::string back;
    double unpack = Seconds([&] { LzhDecompress(code, back); }, 3);
    if (back != data) {
        std::printf("%-8s round trip FAILED\n", name);
        return;
    }
    double mb = double(data.size()) / 1e6;
    std::printf("%-8s %6.2f MB -> %6.2f MB (%5.1f%%)  pack %7.2f MB/s  unpack %7.2f MB/s\n", name, mb,
                double(code.size()) / 1e6, 100.0 * double(code.size()) / double(data.size()), mb / pack, mb / unpack);
}

// The same work through TLZH's byte-at-a-time stream callbacks, as the form loader uses it.
void MeasureCallbacks(const char* name, const std::string& data) {
    TMemoryStream in, code, out;
    in.Assign(data);
    TLZH lzh;
    double pack = Seconds(
        [&] {
            in.SetPosition(0);
            code.Clear();
            lzh.InStream = &in;
            lzh.OutStream = &code;
            int32_t count = 0;
            lzh.LZHPack(count, lzh.StreamReader(), lzh.StreamWriter());
        },
        2);
    double unpack = Seconds(
        [&] {
            code.SetPosition(0);
            out.Clear();
            lzh.InStream = &code;
            lzh.OutStream = &out;
            lzh.LZHUnpack(int32_t(data.size()), lzh.StreamReader(), lzh.StreamWriter());
        },
        2);
    double mb = double(data.size()) / 1e6;
    std::printf("%-8s via stream callbacks      pack %7.2f MB/s  unpack %7.2f MB/s%s\n", name, mb / pack, mb / unpack,
                out.Bytes() == data ? "" : "  round trip FAILED");
}

} // namespace

int main() {
    const size_t n = 8 << 20;
    Measure("text", Text(n));
    Measure("bitmap", Bitmap(n));
    Measure("random", Random(n));
    Measure("zeros", std::string(n, '\0'));
    MeasureCallbacks("text", Text(n / 4));
    return 0;
}
