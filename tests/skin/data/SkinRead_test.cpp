#include "skin/data/SkinRead.h"

#include "skin/data/Lzh.h"
#include "skin/data/SkinWrite.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

void PutLE32(std::string& out, int32_t v) {
    for (int i = 0; i < 4; i++)
        out.push_back(char(uint8_t(uint32_t(v) >> (8 * i))));
}

// An uncompressed package built by hand, so the reader is checked against the layout itself.
std::string RawPackage(const std::string& nameList, const std::vector<int32_t>& sizes, const std::string& data,
                       int32_t mark = 20000) {
    std::string p;
    PutLE32(p, mark);
    PutLE32(p, int32_t(nameList.size()));
    PutLE32(p, 0x11111111); // reserved fields carry anything
    PutLE32(p, -1);
    p += nameList;
    for (int32_t s : sizes)
        PutLE32(p, s);
    return p + data;
}

bool Open(TSkinReader& reader, const std::string& raw) {
    TMemoryStream s;
    s.Assign(LzhCompress(raw));
    return reader.Loadfromstream(s);
}

std::string Entry(const TSkinReader& reader, const std::string& name) {
    TMemoryStream s;
    s.Assign("stale");
    reader.readfile(name, s);
    EXPECT_EQ(s.Position(), 0);
    return s.Bytes();
}

TEST(SkinReader, ReadsTheLayout) {
    TSkinReader reader;
    std::string raw = RawPackage("Skin.INI\r\nTop.bmp\r\nempty.bmp\r\nTOP.bmp\r\n", {6, 4, 0, 3}, "[Skin]BM12BMx");
    ASSERT_TRUE(Open(reader, raw));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::Ok);
    ASSERT_EQ(reader.Count(), 4);
    EXPECT_EQ(reader.Names()[0], "skin.ini");
    EXPECT_EQ(reader.StoredNames()[0], "Skin.INI");
    EXPECT_EQ(reader.EntrySize(1), 4);
    EXPECT_EQ(reader.Header()[8], 0x11);
    // Names compare without regard to case; the first of equal names wins.
    EXPECT_EQ(Entry(reader, "top.bmp"), "BM12");
    EXPECT_EQ(Entry(reader, "TOP.BMP"), "BM12");
    EXPECT_EQ(Entry(reader, "empty.bmp"), "");
    EXPECT_EQ(Entry(reader, "missing.bmp"), "");

    TMemoryStream ini;
    std::string name = "unchanged";
    reader.readIni(".ini", ini, name);
    EXPECT_EQ(ini.Bytes(), "[Skin]");
    EXPECT_EQ(name, "skin.ini");
    name = "unchanged";
    reader.readIni(".txt", ini, name);
    EXPECT_EQ(ini.Size(), 0);
    EXPECT_EQ(name, "unchanged");
}

TEST(SkinReader, NameListLineBreaks) {
    // Without a final break, with bare LF or CR: the same entries.
    for (const char* list : {"a.ini\r\nb.bmp\r\n", "a.ini\r\nb.bmp", "a.ini\nb.bmp\n", "a.ini\rb.bmp"}) {
        TSkinReader reader;
        ASSERT_TRUE(Open(reader, RawPackage(list, {1, 2}, "xyz"))) << list;
        ASSERT_EQ(reader.Count(), 2);
        EXPECT_EQ(Entry(reader, "b.bmp"), "yz");
    }
    // An empty name list is an empty package.
    TSkinReader reader;
    ASSERT_TRUE(Open(reader, RawPackage("", {}, "")));
    EXPECT_EQ(reader.Count(), 0);
}

TEST(SkinReader, OlderFormatShowsTheMessage) {
    std::vector<std::string> shown;
    TSkinReader::OnMessage = [&](const std::string& text) { shown.push_back(text); };
    TSkinReader reader;
    ASSERT_TRUE(Open(reader, RawPackage("a.ini\r\n", {1}, "x")));
    EXPECT_FALSE(Open(reader, RawPackage("a.ini\r\n", {1}, "x", 19999)));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::OlderFormat);
    EXPECT_EQ(reader.Count(), 0); // nothing of the previous package remains
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "This is Older Skin File\rPlease update to new version !");
    TSkinReader::OnMessage = nullptr;
}

TEST(SkinReader, SizesAreNotTrusted) {
    TSkinReader reader;
    std::vector<std::string> shown;
    TSkinReader::OnMessage = [&](const std::string& text) { shown.push_back(text); };
    // Shorter than the header, a name list past the end, a negative name-list length.
    EXPECT_FALSE(Open(reader, std::string("\x20\x4e\0\0", 4)));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::BadHeader);
    std::string raw = RawPackage("a.ini\r\n", {1}, "x");
    raw[4] = char(100);
    EXPECT_FALSE(Open(reader, raw));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::BadHeader);
    raw[7] = char(0x80);
    EXPECT_FALSE(Open(reader, raw));
    // A size table past the end; a negative size.
    EXPECT_FALSE(Open(reader, RawPackage("a\r\nb\r\nc\r\n", {1}, "")));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::BadSizeTable);
    EXPECT_FALSE(Open(reader, RawPackage("a\r\nb\r\n", {1, -1}, "xy")));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::BadSizeTable);
    EXPECT_TRUE(shown.empty()); // only the format mark earns the message
    TSkinReader::OnMessage = nullptr;

    // Entries that run past the data read as empty; earlier ones are still served.
    ASSERT_TRUE(Open(reader, RawPackage("a\r\nb\r\nc\r\n", {2, 0x7FFFFFFF, 1}, "okmore")));
    EXPECT_EQ(Entry(reader, "a"), "ok");
    EXPECT_TRUE(reader.EntryComplete(0));
    EXPECT_FALSE(reader.EntryComplete(1));
    EXPECT_EQ(Entry(reader, "b"), "");
    EXPECT_EQ(Entry(reader, "c"), "");

    // Damaged compression: refused before the package is looked at.
    TMemoryStream s;
    std::string packed = LzhCompress(RawPackage("a.ini\r\n", {1}, "x"));
    s.Assign(packed.substr(0, packed.size() - 1));
    EXPECT_FALSE(reader.Loadfromstream(s));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::BadCompression);
    s.Assign("ab");
    EXPECT_FALSE(reader.Loadfromstream(s));
}

TEST(SkinReader, ManyEntriesGrowTheTable) {
    TSkinWriter writer;
    for (int i = 0; i < 3000; ++i)
        writer.Add("e" + std::to_string(i) + ".bmp", std::string(size_t(i % 7), char('a' + i % 26)));
    TMemoryStream s;
    writer.SaveToStream(s);
    TSkinReader reader;
    ASSERT_TRUE(reader.Loadfromstream(s));
    ASSERT_EQ(reader.Count(), 3000);
    EXPECT_EQ(Entry(reader, "e1001.bmp"), std::string(1001 % 7, char('a' + 1001 % 26)));
    EXPECT_EQ(Entry(reader, "E2999.BMP"), std::string(2999 % 7, char('a' + 2999 % 26)));
    // A name list of empty lines whose size table the data cannot hold is refused before it is split.
    EXPECT_FALSE(Open(reader, RawPackage(std::string(100000, '\n'), {}, "")));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::BadSizeTable);
}

TEST(SkinWriter, WritesWhatTheReaderReads) {
    TSkinWriter writer;
    writer.Add("skin.ini", "[Form]\r\nTop=top.bmp\r\n");
    writer.Add("Top.bmp", std::string("BM\0\0\xff", 5));
    writer.Add("empty.bmp", "");
    std::string raw = writer.Build();
    EXPECT_EQ(raw, RawPackage("skin.ini\r\nTop.bmp\r\nempty.bmp\r\n", {21, 5, 0},
                              std::string("[Form]\r\nTop=top.bmp\r\nBM\0\0\xff", 26))
                       .replace(8, 8, std::string(8, '\0')));
    std::string packed = writer.Pack();
    EXPECT_EQ(packed, LzhCompress(raw));

    std::string file = ::testing::TempDir() + "skinread_test.skn";
    writer.SaveToFile(file);
    TSkinReader reader;
    ASSERT_TRUE(reader.loadfromfile(file));
    EXPECT_EQ(Entry(reader, "top.bmp"), std::string("BM\0\0\xff", 5));
    std::remove(file.c_str());
    EXPECT_FALSE(reader.loadfromfile(file));
    EXPECT_EQ(reader.Status(), TSkinReadStatus::NoFile);

    EXPECT_THROW(writer.Add("", "x"), ESkinPackError);
    EXPECT_THROW(writer.Add("a\r\nb", "x"), ESkinPackError);
    EXPECT_THROW(writer.AddFile("x.bmp", file), EFOpenError);
    EXPECT_EQ(writer.Count(), 3);
}

TEST(SkinReader, MutatedPackagesNeverCrash) {
    // Mutate the uncompressed package (so the damage reaches the parser, not only the LZH check)
    // and the compressed form; every outcome is a refusal or entries inside the data.
    TSkinWriter writer;
    writer.Add("skin.ini", "[Form]\r\nTop=top.bmp\r\n");
    writer.Add("top.bmp", "BM" + std::string(40, '\x7f'));
    writer.Add("b.bmp", "BMxx");
    std::string raw = writer.Build(), packed = writer.Pack();
    std::mt19937 rng(31);
    auto check = [](TSkinReader& reader) {
        int64_t sum = 0;
        for (int i = 0; i < reader.Count(); ++i) {
            TMemoryStream s;
            reader.readfile(reader.Names()[i], s);
            if (reader.EntryComplete(i))
                sum += s.Size();
            else
                EXPECT_EQ(s.Size(), 0);
        }
        TMemoryStream ini;
        std::string name;
        reader.readIni(".ini", ini, name);
        return sum;
    };
    for (size_t i = 0; i < raw.size(); ++i) {
        for (int flip : {1, 0x80, int(rng() % 255) + 1}) {
            std::string bad = raw;
            bad[i] = char(bad[i] ^ flip);
            TSkinReader reader;
            if (Open(reader, bad)) check(reader);
            TSkinReader cut;
            if (Open(cut, raw.substr(0, i))) check(cut);
        }
    }
    for (size_t i = 0; i < packed.size(); ++i) {
        std::string bad = packed;
        bad[i] = char(bad[i] ^ (int(rng() % 255) + 1));
        TMemoryStream s;
        s.Assign(bad);
        TSkinReader reader;
        if (reader.Loadfromstream(s)) check(reader);
    }
}

} // namespace
