#include "skin/data/Streams.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(MemoryStream, PositionsAndSizes) {
    TMemoryStream s;
    s.Assign("abcdef");
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 4), 4);
    EXPECT_EQ(std::string(buf, 4), "abcd");
    EXPECT_EQ(s.Read(buf, 8), 2); // only what is left
    EXPECT_EQ(s.Read(buf, 8), 0);
    EXPECT_EQ(s.Seek(-100, TSeekOrigin::soCurrent), 0); // clamped at the start
    EXPECT_EQ(s.Seek(-2, TSeekOrigin::soEnd), 4);
    // Writing past the end fills the gap with zeros.
    s.SetPosition(8);
    s.WriteBuffer("x", 1);
    EXPECT_EQ(s.Bytes(), std::string("abcdef\0\0x", 9));
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3);
    EXPECT_THROW(s.ReadBuffer(buf, 1), EReadError);
    s.SetPosition(1);
    EXPECT_THROW(s.ReadBuffer(buf, 3), EReadError);
    s.Clear();
    EXPECT_EQ(s.Size(), 0);
}

TEST(MemoryStream, CopyAndLoad) {
    TMemoryStream a, b, c;
    a.Assign("0123456789");
    a.SetPosition(7);
    EXPECT_EQ(b.CopyFrom(a, 0), 10); // 0 copies the whole source from its start
    EXPECT_EQ(b.Bytes(), "0123456789");
    a.SetPosition(2);
    b.Clear();
    b.CopyFrom(a, 3);
    EXPECT_EQ(b.Bytes(), "234");
    EXPECT_THROW(b.CopyFrom(a, 100), EReadError);
    a.SetPosition(6);
    c.LoadFromStream(a); // from the position to the end
    EXPECT_EQ(c.Bytes(), "6789");
    EXPECT_EQ(c.Position(), 0);
}

TEST(FileHelpers, ReadWriteAndMissing) {
    std::string name = ::testing::TempDir() + "streams_test.bin";
    std::string bytes("a\0b\r\n", 5);
    WriteFileBytes(name, bytes);
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(ReadFileBytes(name), bytes);
    TMemoryStream s;
    s.LoadFromFile(name);
    EXPECT_EQ(s.Bytes(), bytes);
    std::remove(name.c_str());
    EXPECT_FALSE(FileExists(name));
    EXPECT_FALSE(FileExists(::testing::TempDir())); // a folder is not a file
    std::string out = "kept";
    EXPECT_FALSE(TryReadFileBytes(name, out));
    EXPECT_EQ(out, "kept");
    EXPECT_THROW(ReadFileBytes(name), EFOpenError);
    EXPECT_THROW(WriteFileBytes(::testing::TempDir() + "no/such/folder/x", "x"), EFCreateError);
}

} // namespace
