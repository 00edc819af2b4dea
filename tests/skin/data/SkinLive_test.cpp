// Live editing of a skin folder, with a clock of the test's own: a settled change reloads once, a
// burst of saves reloads once, a change with errors keeps the last good package and says why.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinFolder.h"
#include "skin/data/SkinLive.h"
#include "skin/data/SkinRead.h"
#include "skin/data/Streams.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

std::string Bmp(int w, int h, TPixel p) {
    TBitmap32 b(w, h);
    b.Fill(p);
    const std::vector<std::uint8_t> bytes = WriteBmp24(b);
    return std::string(bytes.begin(), bytes.end());
}

const std::string kIni = "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n";

// The top image's first pixel as the package holds it.
TPixel TopPixel(const std::string& package) {
    TMemoryStream stream;
    stream.Assign(package);
    TSkinReader reader;
    if (!reader.Loadfromstream(stream)) return 0;
    TMemoryStream entry;
    reader.readfile("top.bmp", entry);
    const TBitmap32 b = ReadBmp(entry.Bytes());
    return b.Empty() ? 0 : b.Pixel(0, 0);
}

// Writes a file so that its write time surely differs from the last write's.
void Save(const std::string& file, const std::string& bytes) {
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    WriteFileBytes(file, bytes);
}

} // namespace

TEST(SkinLive, SettledChangesReloadOnceAndBrokenOnesKeepTheLastGoodSkin) {
    const std::string dir = ::testing::TempDir() + "skinlive";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const TPixel red = PixelRGB(200, 0, 0), green = PixelRGB(0, 160, 0), blue = PixelRGB(0, 0, 180);
    WriteFileBytes(dir + "/skin.ini", kIni);
    WriteFileBytes(dir + "/top.bmp", Bmp(20, 40, red));

    TSkinLive live(dir);
    EXPECT_EQ(live.Poll(0), TSkinLive::TEvent::Reloaded); // the first look loads
    EXPECT_EQ(TopPixel(live.Package()), red);
    EXPECT_EQ(live.Poll(50), TSkinLive::TEvent::None);

    // One change: seen, then loaded once it has been quiet for kQuietMs.
    Save(dir + "/top.bmp", Bmp(20, 40, green));
    EXPECT_EQ(live.Poll(1000), TSkinLive::TEvent::None);
    EXPECT_EQ(live.Poll(1000 + TSkinLive::kQuietMs - 1), TSkinLive::TEvent::None);
    EXPECT_EQ(live.Poll(1000 + TSkinLive::kQuietMs), TSkinLive::TEvent::Reloaded);
    EXPECT_EQ(TopPixel(live.Package()), green);
    EXPECT_EQ(live.Reloads(), 2);

    // A burst of saves closer together than kQuietMs: one reload, of the last.
    std::uint64_t t = 2000;
    for (TPixel p : {red, blue, red, blue}) {
        Save(dir + "/top.bmp", Bmp(20, 40, p));
        EXPECT_EQ(live.Poll(t), TSkinLive::TEvent::None);
        t += TSkinLive::kQuietMs / 2;
    }
    for (; t < 3000; t += 10)
        if (live.Poll(t) != TSkinLive::TEvent::None) break;
    EXPECT_EQ(live.Reloads(), 3);
    EXPECT_EQ(TopPixel(live.Package()), blue);
    for (t += 10; t < 4000; t += 10)
        EXPECT_EQ(live.Poll(t), TSkinLive::TEvent::None);

    // An edit with an error: the last good package stays, the problem names the file and line.
    Save(dir + "/skin.ini", kIni + "[Fonts]\r\nFontHeight=big\r\n");
    EXPECT_EQ(live.Poll(5000), TSkinLive::TEvent::None);
    EXPECT_EQ(live.Poll(5000 + TSkinLive::kQuietMs), TSkinLive::TEvent::Broken);
    EXPECT_EQ(TopPixel(live.Package()), blue);
    EXPECT_EQ(live.Reloads(), 3);
    EXPECT_EQ(SkinProblemsSummary(live.Problems()),
              SkinFolderFile(dir, "skin.ini") + ":5: [Fonts] FontHeight: \"big\" is not a number; the engine uses 14");
    // A caption image that no longer divides: still broken, and told with its own line.
    Save(dir + "/top.bmp", Bmp(20, 41, green));
    live.Poll(6000);
    EXPECT_EQ(live.Poll(6000 + TSkinLive::kQuietMs), TSkinLive::TEvent::Broken);
    EXPECT_NE(SkinProblemsSummary(live.Problems()).find("(+1 more"), std::string::npos);

    // Mended: loads again.
    Save(dir + "/skin.ini", kIni);
    Save(dir + "/top.bmp", Bmp(20, 40, green));
    live.Poll(7000);
    EXPECT_EQ(live.Poll(7000 + TSkinLive::kQuietMs), TSkinLive::TEvent::Reloaded);
    EXPECT_EQ(TopPixel(live.Package()), green);
    EXPECT_TRUE(live.Problems().empty());

    // A folder that lost its description: broken, the last skin kept.
    std::filesystem::remove(dir + "/skin.ini");
    live.Poll(8000);
    EXPECT_EQ(live.Poll(8000 + TSkinLive::kQuietMs), TSkinLive::TEvent::Broken);
    EXPECT_EQ(TopPixel(live.Package()), green);
}
