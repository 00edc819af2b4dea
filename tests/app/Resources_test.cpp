// What Tellit.exe carries besides code: its icon, its version information and the stored skin.
#include "framework/SysUtils.h"
#include "skin/data/SkinDataCore.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Module {
    Module() {
        std::wstring path = Utf8ToWide(TELLIT_EXE);
        if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
        handle = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    ~Module() {
        if (handle) FreeLibrary(handle);
    }
    // The bytes of a resource, or empty.
    std::string Resource(const wchar_t* name, const wchar_t* type) const {
        HRSRC r = FindResourceW(handle, name, type);
        if (!r) return std::string();
        HGLOBAL g = LoadResource(handle, r);
        const char* p = static_cast<const char*>(LockResource(g));
        return p ? std::string(p, SizeofResource(handle, r)) : std::string();
    }
    HMODULE handle = nullptr;
};

TEST(Resources, IconAndVersion) {
    Module m;
    ASSERT_TRUE(m.handle);
    EXPECT_FALSE(m.Resource(L"MAINICON", MAKEINTRESOURCEW(14)).empty()); // RT_GROUP_ICON
    std::string version = m.Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)); // RT_VERSION
    ASSERT_GE(version.size(), 40u + sizeof(VS_FIXEDFILEINFO));
    // The fixed part follows the "VS_VERSION_INFO" key, aligned to 4 bytes.
    const char* key = reinterpret_cast<const char*>(L"VS_VERSION_INFO");
    size_t at = std::string(version).find(std::string(key, 30));
    ASSERT_NE(at, std::string::npos);
    size_t fixedAt = (at + 32 + 3) & ~size_t(3);
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, version.data() + fixedAt, sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwProductVersionMS, (1u << 16) | 3u);
    EXPECT_NE(version.find(std::string(reinterpret_cast<const char*>(L"ProductName"), 22)), std::string::npos);
}

TEST(Resources, StoredSkinLoads) {
    Module m;
    ASSERT_TRUE(m.handle);
    std::string stream = m.Resource(L"SKINSTREAM", MAKEINTRESOURCEW(10)); // RT_RCDATA
    ASSERT_GT(stream.size(), 4u) << "Tellit.exe carries no skin";
    uint32_t size = 0;
    std::memcpy(&size, stream.data(), 4);
    EXPECT_EQ(size_t(size), stream.size() - 4);
    TMemoryStream package;
    package.Write(stream.data() + 4, int64_t(stream.size() - 4));
    package.SetPosition(0);
    TSkinDataCore skin;
    ASSERT_TRUE(skin.LoadSkin(package));
    EXPECT_FALSE(skin.Loading);
    EXPECT_FALSE(skin.Title.Bitmap.Empty());
    EXPECT_GT(skin.SysButtons.size(), 3u);
}

} // namespace
