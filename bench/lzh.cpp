// LZH pack and unpack throughput of our codec against the published LZHUF algorithm
// (LzhufReference.h) on the same corpus: text (the program's own sources), the
// shipped skin's bitmaps, and random bytes, 4.5 MiB in all. Both codecs' code is compared byte for
// byte and both decodings with the input. Times are CPU seconds (the best of several alternating
// runs), because on a shared machine wall time mostly measures the other processes.
//   bench_lzh [SOURCE_DIR]      SOURCE_DIR defaults to the tree this was built from
// Prints the figures in the bench command's format; asserts nothing.
#include "skin/data/Lzh.h"
#include "bench/BenchFormat.h"
#include "bench/LzhufReference.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The files under the dirs whose extension is one of exts, in a fixed order, concatenated and
// repeated (or cut) to n bytes. Repeats lie far beyond the 4 KiB window, so they compress as new data.
std::string Gather(const std::vector<fs::path>& dirs, const std::vector<std::string>& exts, size_t n) {
    std::vector<fs::path> files;
    for (const fs::path& dir : dirs)
        if (fs::is_directory(dir))
            for (const auto& entry : fs::recursive_directory_iterator(dir))
                if (entry.is_regular_file() &&
                    std::find(exts.begin(), exts.end(), entry.path().extension().string()) != exts.end())
                    files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::string all;
    for (const auto& f : files)
        all += ReadFile(f);
    if (all.empty()) return all;
    std::string s;
    while (s.size() < n)
        s += all;
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

double Cpu() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

struct Timing {
    double ourPack = 1e9, refPack = 1e9, ourUnpack = 1e9, refUnpack = 1e9;
    bool sameCode = true, ourRoundTrip = true, refRoundTrip = true;
    size_t codeBytes = 0;
};

// Alternates the two codecs so that a busy spell on the machine hits both alike; keeps the best.
Timing Measure(const std::string& data, int runs) {
    Timing t;
    auto reference = std::make_unique<LzhufReference>();
    for (int run = 0; run < runs; ++run) {
        double start = Cpu();
        std::string ours = LzhPack(data);
        double mid = Cpu();
        std::string ref = reference->Encode(data);
        double end = Cpu();
        t.ourPack = std::min(t.ourPack, mid - start);
        t.refPack = std::min(t.refPack, end - mid);
        t.sameCode = t.sameCode && ours == ref;
        t.codeBytes = ours.size();

        start = Cpu();
        std::string back = LzhUnpack(ours, int32_t(data.size()));
        mid = Cpu();
        std::string refBack = reference->Decode(ref, long(data.size()));
        end = Cpu();
        t.ourUnpack = std::min(t.ourUnpack, mid - start);
        t.refUnpack = std::min(t.refUnpack, end - mid);
        t.ourRoundTrip = t.ourRoundTrip && back == data;
        t.refRoundTrip = t.refRoundTrip && refBack == data;
    }
    return t;
}

} // namespace

int main(int argc, char** argv) {
    fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path(TELLIT_SOURCE_DIR);
    struct Part {
        const char* name;
        std::string data;
    };
    const size_t MiB = 1 << 20;
    std::vector<Part> parts = {
        {"text", Gather({root / "app", root / "framework", root / "net", root / "skin", root / "skins"},
                        {".cpp", ".h", ".ini", ".rc"}, 2 * MiB)},
        {"bitmaps", Gather({root / "skins"}, {".bmp"}, 2 * MiB)},
        {"random", Random(MiB / 2)},
    };
    std::string corpus;
    for (const Part& p : parts) {
        if (p.data.empty()) {
            std::fprintf(stderr, "bench_lzh: no %s found under %s\n", p.name, root.string().c_str());
            return 1;
        }
        corpus += p.data;
    }

    const int runs = 3;
    BenchSection("LZH codec against the published LZHUF algorithm (CPU time, best of 3)");
    Timing total{};
    total.ourPack = total.refPack = total.ourUnpack = total.refUnpack = 0;
    for (const Part& p : parts) {
        Timing t = Measure(p.data, runs);
        double mb = double(p.data.size()) / 1e6;
        BenchDetail(std::string(p.name) + ": " + FormatNumber(mb, 2) + " MB -> " +
                    FormatNumber(double(t.codeBytes) / 1e6, 2) + " MB; pack " + FormatNumber(mb / t.ourPack, 2) +
                    " vs " + FormatNumber(mb / t.refPack, 2) + " MB/s, unpack " + FormatNumber(mb / t.ourUnpack, 2) +
                    " vs " + FormatNumber(mb / t.refUnpack, 2) + " MB/s" + (t.sameCode ? "" : ", CODE DIFFERS"));
        total.ourPack += t.ourPack;
        total.refPack += t.refPack;
        total.ourUnpack += t.ourUnpack;
        total.refUnpack += t.refUnpack;
        total.sameCode = total.sameCode && t.sameCode;
        total.ourRoundTrip = total.ourRoundTrip && t.ourRoundTrip;
        total.refRoundTrip = total.refRoundTrip && t.refRoundTrip;
    }
    double mb = double(corpus.size()) / 1e6;
    std::string bytes = total.sameCode ? "code identical" : "CODE DIFFERS from the reference";
    if (!total.ourRoundTrip) bytes += ", OUR ROUND TRIP FAILED";
    if (!total.refRoundTrip) bytes += ", REFERENCE ROUND TRIP FAILED";
    std::string size = FormatNumber(double(corpus.size()) / MiB, 1) + " MiB";
    BenchFigure("LZH pack, " + size, FormatNumber(mb / total.ourPack, 2) + " MB/s",
                FormatNumber(mb / total.refPack, 2) + " MB/s (LZHUF)", total.refPack / total.ourPack, "x faster",
                ">= 1.5", bytes);
    BenchFigure("LZH unpack, " + size, FormatNumber(mb / total.ourUnpack, 2) + " MB/s",
                FormatNumber(mb / total.refUnpack, 2) + " MB/s (LZHUF)", total.refUnpack / total.ourUnpack, "x faster",
                ">= 1.5", total.ourRoundTrip ? "output equals input" : "OUTPUT DIFFERS");
    return total.sameCode && total.ourRoundTrip && total.refRoundTrip ? 0 : 1;
}
