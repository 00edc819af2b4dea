#include "skin/data/WinSkinIni.h"

#include "skin/data/Lzh.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

namespace {

TQuickIni Load(const std::string& text) {
    TMemoryStream s;
    s.Assign(text);
    TQuickIni ini;
    ini.LoadFromStream(&s);
    return ini;
}

std::string Saved(const TQuickIni& ini) {
    TMemoryStream s;
    ini.SaveToStream(&s);
    return s.Bytes();
}

std::vector<std::string> Items(const TStringList& list) {
    return std::vector<std::string>(list.begin(), list.end());
}

const char* kSkin = "; a comment\r\n"
                    "\r\n"
                    "  [Colours]  \r\n"
                    "Key = Value\r\n"
                    "Empty=\r\n"
                    "empty=later\r\n"
                    "hex=0x10\r\n"
                    "dollar=$10\r\n"
                    "neg=-5\r\n"
                    "junk=12abc\r\n"
                    "[Title]\n"
                    "Bmp=title.bmp\r"
                    "Height=21\n"
                    "[ Inner Name ]\r\n"
                    "a=b=c\r\n";

TEST(QuickIniLoad, TrimsDropsCommentsAndSplitsEveryLineBreak) {
    TQuickIni ini = Load(kSkin);
    EXPECT_EQ(ini.Lines().Count(), 13);
    EXPECT_EQ(ini.Lines()[0], "[Colours]");
    EXPECT_EQ(ini.Lines()[1], "Key = Value");
    EXPECT_EQ(ini.GetSectionIndex("colours"), 0);
    EXPECT_EQ(ini.GetSectionIndex("TITLE"), 8);
    EXPECT_EQ(ini.GetSectionIndex("Missing"), -1);
    // Inner blanks belong to the name.
    EXPECT_EQ(ini.GetSectionIndex(" Inner Name "), 11);
    EXPECT_EQ(ini.GetSectionIndex("Inner Name"), -1);
    // Comments and blank lines are gone when saved.
    std::string saved = Saved(ini);
    EXPECT_EQ(saved.substr(0, 24), "[Colours]\r\nKey = Value\r\n");
    EXPECT_EQ(saved.find(';'), std::string::npos);

    // LF CR gives an empty line between, which is dropped; a zero byte ends the text.
    ini = Load(std::string("[A]\n\rx=1\0[B]\r\ny=2", 17));
    EXPECT_EQ(Items(ini.Lines()), (std::vector<std::string>{"[A]", "x=1"}));
    // Loading replaces the previous content; a null stream changes nothing.
    ini.LoadFromStream(nullptr);
    EXPECT_EQ(ini.Lines().Count(), 2);
}

TEST(QuickIniLoad, ReadsFromTheStreamPosition) {
    TMemoryStream s;
    s.Assign("[Skip]\r\n[Keep]\r\nk=v\r\n");
    s.SetPosition(8);
    TQuickIni ini;
    ini.LoadFromStream(&s);
    EXPECT_EQ(ini.GetSectionIndex("Skip"), -1);
    EXPECT_EQ(ini.ReadString("Keep", "k", ""), "v");
}

TEST(QuickIniRead, Strings) {
    TQuickIni ini = Load(kSkin);
    EXPECT_EQ(ini.ReadString("COLOURS", "KEY", "d"), "Value");
    EXPECT_EQ(ini.ReadString("title", "bmp", "d"), "title.bmp");
    // An empty value gives the default, and the later line with the same key is not consulted.
    EXPECT_EQ(ini.ReadString("Colours", "empty", "d"), "d");
    // Keys of the next section are out of reach; the first "=" splits.
    EXPECT_EQ(ini.ReadString("Colours", "Height", "d"), "d");
    EXPECT_EQ(ini.ReadString(" inner name ", "a", "d"), "b=c");
    EXPECT_EQ(ini.ReadString("Nope", "a", "d"), "d");
    // A key before the first header is stored but no section reaches it.
    TQuickIni loose = Load("orphan=1\r\n[S]\r\nk=2\r\n");
    EXPECT_EQ(loose.Lines()[0], "orphan=1");
    EXPECT_EQ(loose.ReadString("S", "orphan", "d"), "d");
    EXPECT_EQ(TQuickIni().ReadString("S", "k", "d"), "d");
}

TEST(QuickIniRead, IntegersAndBools) {
    TQuickIni ini = Load(kSkin);
    EXPECT_EQ(ini.ReadInteger("Colours", "hex", 7), 16);
    EXPECT_EQ(ini.ReadInteger("Colours", "dollar", 7), 16);
    EXPECT_EQ(ini.ReadInteger("Colours", "neg", 7), -5);
    EXPECT_EQ(ini.ReadInteger("Colours", "junk", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Colours", "missing", 7), 7);
    EXPECT_EQ(ini.ReadInteger("Title", "height", 7), 21);
    TQuickIni colours = Load("[C]\r\nkey=0xFF00FF\r\nx=0x\r\nzero=0\r\nbig=0xFFFFFFFF\r\n");
    EXPECT_EQ(colours.ReadInteger("C", "key", 0), 0xFF00FF);
    EXPECT_EQ(colours.ReadInteger("C", "x", 3), 3);
    EXPECT_EQ(colours.ReadInteger("C", "big", 3), -1);
    EXPECT_FALSE(colours.ReadBool("C", "zero", true));
    EXPECT_TRUE(colours.ReadBool("C", "key", false));
    EXPECT_TRUE(colours.ReadBool("C", "absent", true));
    EXPECT_FALSE(colours.ReadBool("C", "absent", false));
}

TEST(QuickIniRead, SectionListings) {
    TQuickIni ini = Load(kSkin);
    TStringList list;
    list.Add("stale");
    ini.ReadSection("colours", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"key", "empty", "empty", "hex", "dollar", "neg", "junk"}));
    ini.ReadSections(list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Colours", "Title", "Inner Name"}));
    ini.ReadSectionValues("Title", list);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Bmp=title.bmp", "Height=21"}));
    ini.ReadSectionValues("Missing", list);
    EXPECT_EQ(list.Count(), 0);
    ini.ReadSection("Missing", list);
    EXPECT_EQ(list.Count(), 0);
}

TEST(QuickIniHelpers, NamesAndValues) {
    EXPECT_EQ(TQuickIni::GetName("  MiXed Key = v"), "mixed key");
    EXPECT_EQ(TQuickIni::GetName("no equals"), "");
    EXPECT_EQ(TQuickIni::GetValue("Key = v ", "key"), "v");
    EXPECT_EQ(TQuickIni::GetValue("Key = v", "Key"), ""); // names compare lower-cased
    EXPECT_EQ(TQuickIni::GetValue("Key = v", ""), "");
    EXPECT_EQ(TQuickIni::GetValue("", "key"), "");
    EXPECT_TRUE(TQuickIni::IsSection(" [x] "));
    EXPECT_FALSE(TQuickIni::IsSection("[x"));
    EXPECT_FALSE(TQuickIni::IsSection(""));
}

TEST(QuickIniWrite, KeepsSectionIndexInStep) {
    TQuickIni ini = Load("[A]\r\na=1\r\n[B]\r\nb=2\r\n[C]\r\nc=3\r\n");
    ini.WriteString("B", "New", "x"); // inserted before [C]
    ini.WriteString("A", "A", "9");   // replaces a=1 with the caller's spelling
    ini.WriteInteger("A", "n", -42);  // inserted before [B]
    ini.WriteBool("C", "flag", true); // appended at the end
    ini.WriteString("D", "d", "4");   // new section
    ini.WriteString("E", "", "none"); // header only
    EXPECT_EQ(Saved(ini),
              "[A]\r\nA=9\r\nn=-42\r\n[B]\r\nb=2\r\nNew=x\r\n[C]\r\nc=3\r\nflag=1\r\n[D]\r\nd=4\r\n[E]\r\n");
    EXPECT_EQ(ini.ReadString("B", "b", ""), "2");
    EXPECT_EQ(ini.ReadString("C", "c", ""), "3");
    EXPECT_EQ(ini.ReadString("B", "NEW", ""), "x");
    EXPECT_EQ(ini.ReadInteger("A", "N", 0), -42);
    EXPECT_EQ(ini.ReadString("D", "d", ""), "4");
    EXPECT_EQ(ini.GetSectionIndex("E"), 11);
    // Every index entry still points at its header.
    for (const char* s : {"A", "B", "C", "D", "E"})
        EXPECT_EQ(ini.Lines()[ini.GetSectionIndex(s)], std::string("[") + s + "]");
}

TEST(QuickIniWrite, DeleteKeyAndEraseSection) {
    TQuickIni ini = Load("[A]\r\nKey=1\r\nkey=2\r\n[B]\r\nb=2\r\n[C]\r\nc=3\r\n");
    ini.DeleteKey("A", "Key"); // not lower case: never found
    EXPECT_EQ(ini.Lines().Count(), 7);
    ini.DeleteKey("A", "key"); // the first line named key goes
    EXPECT_EQ(ini.ReadString("A", "key", ""), "2");
    EXPECT_EQ(ini.ReadString("B", "b", ""), "2");
    ini.DeleteKey("Missing", "key");
    ini.DeleteKey("A", "absent");
    EXPECT_EQ(ini.Lines().Count(), 6);

    // A later section leaves one empty line where it stood.
    ini.EraseSection("b");
    EXPECT_EQ(Saved(ini), "[A]\r\nkey=2\r\n\r\n[C]\r\nc=3\r\n");
    EXPECT_EQ(ini.ReadString("C", "c", ""), "3");
    EXPECT_EQ(ini.GetSectionIndex("B"), -1);
    // The first section leaves the next header first, with no separator.
    ini.EraseSection("A");
    EXPECT_EQ(Saved(ini), "[C]\r\nc=3\r\n");
    EXPECT_EQ(ini.GetSectionIndex("C"), 0);
    ini.EraseSection("Missing");
    ini.EraseSection("C");
    EXPECT_EQ(ini.Lines().Count(), 0);
    TStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections.Count(), 0);
}

TEST(QuickIniWrite, DuplicateSectionsUseTheFirst) {
    TQuickIni ini = Load("[S]\r\nk=1\r\n[s]\r\nk=2\r\n");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
    ini.EraseSection("S");
    EXPECT_EQ(ini.ReadString("S", "k", ""), "2");
}

TEST(QuickIniLines, SetIniFileKeepsLinesAsGiven) {
    TStringList lines;
    lines.Add("  untrimmed = 1 ");
    lines.Add("[Sec]");
    lines.Add("");
    lines.Add("; kept");
    lines.Add("k=v");
    TQuickIni ini;
    ini.SetIniFile(lines);
    EXPECT_EQ(Items(ini.Lines()), Items(lines));
    EXPECT_EQ(ini.GetSectionIndex("sec"), 1);
    EXPECT_EQ(ini.ReadString("Sec", "k", ""), "v");
    ini.SetFileName("skin.ini");
    EXPECT_EQ(ini.FileName(), "skin.ini");
    ini.Clear();
    EXPECT_EQ(ini.Lines().Count(), 0);
    EXPECT_EQ(ini.GetSectionIndex("sec"), -1);
}

TEST(QuickIniFiles, PlainAndCompressed) {
    std::string dir = ::testing::TempDir();
    std::string plain = dir + "quickini_plain.ini", packed = dir + "quickini_packed.lzh";
    TQuickIni ini = Load(kSkin);
    ini.SaveToFile(plain);
    ini.SavetoZip(packed);
    TQuickIni a, b;
    a.LoadFromFile(plain);
    b.LoadFromZip(packed);
    EXPECT_EQ(Saved(a), Saved(ini));
    EXPECT_EQ(Saved(b), Saved(ini));
    // The compressed file is the LZH framing of the saved text.
    EXPECT_EQ(ReadFileBytes(packed), LzhCompress(Saved(ini)));

    // A truncated compressed file loads as an empty text, not as garbage.
    std::string bytes = ReadFileBytes(packed);
    WriteFileBytes(packed, bytes.substr(0, bytes.size() / 2));
    b.LoadFromZip(packed);
    EXPECT_EQ(b.Lines().Count(), 0);
    std::remove(plain.c_str());
    std::remove(packed.c_str());
    EXPECT_THROW(a.LoadFromFile(plain), EFOpenError);
    EXPECT_THROW(a.LoadFromZip(packed), EFOpenError);
}

TEST(QuickIniFiles, CompressDecompressStreams) {
    TMemoryStream text, packed, back;
    text.Assign(Saved(Load(kSkin)));
    text.SetPosition(5);
    TQuickIni::Compress(text, packed);
    EXPECT_TRUE(TQuickIni::Decompress(packed, back));
    EXPECT_EQ(back.Bytes(), text.Bytes());
    packed.SetSize(3);
    EXPECT_FALSE(TQuickIni::Decompress(packed, back));
    EXPECT_EQ(back.Size(), 0);
}

TEST(QuickIniLoad, MutatedTextsNeverCrash) {
    std::string text = kSkin;
    std::mt19937 rng(21);
    const char pool[] = "[]=;\r\n \0x";
    for (size_t i = 0; i < text.size(); ++i) {
        std::string bad = text;
        bad[i] = pool[rng() % (sizeof pool - 1)];
        TQuickIni ini = Load(bad.substr(0, rng() % (bad.size() + 1)));
        // Whatever was read, the section index after the edits is the one a rebuild from the lines
        // gives: no entry has drifted off its header.
        ini.WriteString("Colours", "x", "1");
        ini.EraseSection("Title");
        ini.DeleteKey("Colours", "key");
        TQuickIni fresh;
        fresh.SetIniFile(ini.Lines());
        TStringList mine, theirs;
        ini.ReadSections(mine);
        fresh.ReadSections(theirs);
        ASSERT_EQ(Items(mine), Items(theirs)) << bad;
        for (int k = 0; k < mine.Count(); ++k) {
            ASSERT_EQ(ini.GetSectionIndex(mine[k]), fresh.GetSectionIndex(mine[k]));
            ASSERT_EQ(ini.ReadString(mine[k], "x", "-"), fresh.ReadString(mine[k], "x", "-"));
        }
    }
}

} // namespace
