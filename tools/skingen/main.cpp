// skingen: writes the skin Tellit ships (its description and 24-bit BMP images) into a folder,
// ready for "skinpack pack".
#include "skin/data/BmpCodec.h"
#include "skin/data/Streams.h"
#include "tools/skingen/Design.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen OUTDIR\n");
        return 2;
    }
    try {
        std::filesystem::path dir = std::filesystem::u8path(argv[1]);
        std::filesystem::create_directories(dir);
        SkinImages images;
        AddFrameArt(images);
        AddControlArt(images);
        std::set<std::string> names;
        for (const SkinImage& image : images) {
            if (!names.insert(image.name).second) throw std::logic_error("two images named " + image.name);
            std::vector<std::uint8_t> bmp = WriteBmp24(image.bitmap);
            WriteFileBytes((dir / image.name).u8string(), std::string(bmp.begin(), bmp.end()));
        }
        WriteFileBytes((dir / "tellit.ini").u8string(), SkinDescription());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
}
