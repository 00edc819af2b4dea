// skingen: writes the skin Tellit ships (its description and 24-bit BMP images) into a folder,
// ready for "skinpack pack"; "skingen preview DIR OUT.bmp" draws a skin folder as windows.
#include "skin/data/BmpCodec.h"
#include "skin/data/Streams.h"
#include "tools/skingen/Design.h"
#include "tools/skingen/Preview.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>
#include <string>

namespace {

void WriteBmpFile(const std::string& fileName, const TBitmap32& bitmap) {
    std::vector<std::uint8_t> bmp = WriteBmp24(bitmap);
    WriteFileBytes(fileName, std::string(bmp.begin(), bmp.end()));
}

} // namespace

int main(int argc, char** argv) {
    // skingen [--design NAME] OUTDIR: the light design by default.
    if (argc == 4 && std::string(argv[1]) == "--design") {
        if (!SelectDesign(argv[2])) {
            std::fprintf(stderr, "skingen: no design named \"%s\"\n", argv[2]);
            return 2;
        }
        argv += 2;
        argc -= 2;
    }
    const bool preview = argc == 4 && std::string(argv[1]) == "preview";
    if (argc != 2 && !preview) {
        std::fprintf(stderr, "usage: skingen [--design tellit|dark] OUTDIR\n       skingen preview SKINDIR OUT.bmp\n");
        return 2;
    }
    try {
        if (preview) {
            WriteBmpFile(argv[3], RenderPreview(argv[2]));
            return 0;
        }
        std::filesystem::path dir = std::filesystem::u8path(argv[1]);
        std::filesystem::create_directories(dir);
        SkinImages images;
        AddFrameArt(images);
        AddControlArt(images);
        std::set<std::string> names;
        for (const SkinImage& image : images) {
            if (!names.insert(image.name).second) throw std::logic_error("two images named " + image.name);
            WriteBmpFile((dir / image.name).u8string(), image.bitmap);
        }
        WriteFileBytes((dir / (std::string(CurrentDesign().name) + ".ini")).u8string(), SkinDescription());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 1;
    }
}
