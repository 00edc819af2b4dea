// Skin data and skin stores as a form stores them: the "SkinStream" and "DataStream" binary
// properties, hostile stored sizes, and the store's names.
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDataCore.h"
#include "skin/data/SkinWrite.h"
#include "skin/data/WinSkinStore.h"

#include <gtest/gtest.h>

namespace {

std::string Package(const std::string& name) {
    TSkinWriter w;
    w.Add("skin.ini", "[TitlebarSkin]\nSkinName=" + name + "\n[Colours]\nButtonFace=1 2 3\n");
    return w.Pack();
}

std::string Stored(TBinaryPersistent& object) {
    TMemoryStream s;
    WriteBinaryProperties(object, s);
    return s.Bytes();
}

void Restore(TBinaryPersistent& object, const std::string& bytes) {
    TMemoryStream s;
    s.Assign(bytes);
    ReadBinaryProperties(object, s);
}

std::string Le32(std::int32_t n) {
    const auto u = std::uint32_t(n);
    return std::string{char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
}

std::string Property(const std::string& name, const std::string& block) {
    return std::string(1, char(name.size())) + name + Le32(std::int32_t(block.size())) + block;
}

TEST(SkinPersistence, SkinStreamRoundTripAndEmptySkin) {
    TSkinDataCore skin;
    TMemoryStream package;
    package.Assign(Package("Stored"));
    ASSERT_TRUE(skin.LoadFromStream(package));
    const std::string stored = Stored(skin);

    TSkinDataCore copy;
    Restore(copy, stored);
    EXPECT_FALSE(copy.Loading);
    EXPECT_EQ(copy.SkinName, "Stored");
    EXPECT_EQ(copy.SkinStream.Bytes(), skin.SkinStream.Bytes());
    EXPECT_EQ(Stored(copy), stored);

    // A component without a skin stores N = 0 and nothing else; reading it gives no skin.
    TSkinDataCore empty;
    EXPECT_EQ(Stored(empty), Property("SkinStream", Le32(0)) + std::string(1, '\0'));
    TSkinDataCore none;
    Restore(none, Stored(empty));
    EXPECT_TRUE(none.Loading);
    EXPECT_EQ(none.SkinStream.Size(), 0);
}

TEST(SkinPersistence, HostileStoredSizesMeanNoSkin) {
    const std::string package = Package("Hostile");
    for (std::int32_t n : {0, -1, -2147483647 - 1, std::int32_t(package.size()) + 1, 2147483647}) {
        TSkinDataCore skin;
        TMemoryStream s;
        s.Assign(Le32(n) + package);
        EXPECT_FALSE(skin.ReadData(s)) << n;
        EXPECT_TRUE(skin.Loading) << n;
        EXPECT_EQ(skin.SkinStream.Size(), 0) << n;
    }
    TSkinDataCore shortSize;
    TMemoryStream s;
    s.Assign("\x05\x00");
    EXPECT_FALSE(shortSize.ReadData(s));
    // At design time the bytes are kept but not loaded.
    TSkinDataCore designing;
    s.Assign(Le32(std::int32_t(package.size())) + package);
    EXPECT_FALSE(designing.ReadData(s, true));
    EXPECT_EQ(designing.SkinStream.Bytes(), package);
    EXPECT_TRUE(designing.Loading);
}

TEST(SkinPersistence, PropertyListsSkipUnknownBlocksAndRefuseTruncation) {
    const std::string package = Package("Listed");
    TSkinDataCore skin;
    Restore(skin, Property("Other", "xyz") + Property("SkinStream", Le32(std::int32_t(package.size())) + package) +
                      std::string(1, '\0'));
    EXPECT_EQ(skin.SkinName, "Listed");
    // A SkinStream block whose N claims more than its own block, though more bytes follow.
    TSkinDataCore bounded;
    Restore(bounded, Property("SkinStream", Le32(std::int32_t(package.size())) + package.substr(0, 8)) +
                         Property("Other", package) + std::string(1, '\0'));
    EXPECT_TRUE(bounded.Loading);
    const std::string whole = Property("SkinStream", Le32(0)) + std::string(1, '\0');
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        TSkinDataCore truncated;
        EXPECT_THROW(Restore(truncated, whole.substr(0, cut)), EReadError) << cut;
    }
}

TEST(SkinPersistence, SkinStoreNamesItemsAndLoading) {
    TSkinStore store(nullptr);
    TSkinCollectionItem& first = store.Store.Add();
    TSkinCollectionItem& second = store.Store.Add();
    EXPECT_EQ(first.Name(), "SkinItem0");
    EXPECT_EQ(second.Name(), "SkinItem1");
    first.SetName("Blue");
    first.SetName("Blue");
    try {
        second.SetName("Blue");
        FAIL() << "a repeated name was accepted";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "The name Blue is already used.");
    }
    EXPECT_EQ(second.Name(), "SkinItem1");
    EXPECT_EQ(first.SkinData(), "Load Skin");
    second.Data().Assign(Package("Second"));
    EXPECT_EQ(second.DataSize(), int(Package("Second").size()));

    // The item's bytes are stored raw and read back whole.
    TSkinCollectionItem copy(&store.Store, 9);
    Restore(copy, Stored(second));
    EXPECT_EQ(copy.Data().Bytes(), second.Data().Bytes());

    TSkinDataCore skin;
    EXPECT_TRUE(skin.LoadFromCollection(store, 1));
    EXPECT_EQ(skin.SkinName, "Second");
    EXPECT_FALSE(skin.LoadFromCollection(store, 2)); // past the last: ignored
    EXPECT_EQ(skin.SkinName, "Second");
    EXPECT_FALSE(skin.Loading);
    EXPECT_THROW(skin.LoadFromCollection(store, -1), EListError);

    TSkinStore other(nullptr);
    other.SetStore(&store.Store);
    other.SetStore(nullptr);
    ASSERT_EQ(other.Store.Count(), 2);
    EXPECT_EQ(other.Store.Items(0).Name(), "Blue");
}

} // namespace
