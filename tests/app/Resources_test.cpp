// What Tellit.exe carries besides code: its icon, its version information, its manifest and the
// stored skin.
#include "app/Version.h"
#include "framework/SysUtils.h"
#include "skin/data/SkinDataCore.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
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
    // The project version (CMakeLists.txt), in the fixed part and in the strings.
    EXPECT_EQ(fixed.dwFileVersionMS, (unsigned(TELLIT_VERSION_MAJOR) << 16) | unsigned(TELLIT_VERSION_MINOR));
    EXPECT_EQ(fixed.dwFileVersionLS, (unsigned(TELLIT_VERSION_PATCH) << 16) | unsigned(TELLIT_VERSION_TWEAK));
    EXPECT_EQ(fixed.dwProductVersionMS, fixed.dwFileVersionMS);
    EXPECT_EQ(fixed.dwProductVersionLS, fixed.dwFileVersionLS);
    char four[64];
    std::snprintf(four, sizeof four, "%u.%u.%u.%u", unsigned(TELLIT_VERSION_MAJOR), unsigned(TELLIT_VERSION_MINOR),
                  unsigned(TELLIT_VERSION_PATCH), unsigned(TELLIT_VERSION_TWEAK));
    EXPECT_STREQ(four, TELLIT_PROJECT_VERSION);
    auto wide = [](const std::string& s) {
        std::wstring w = Utf8ToWide(s);
        return std::string(reinterpret_cast<const char*>(w.data()), w.size() * 2);
    };
    EXPECT_NE(version.find(wide("ProductName")), std::string::npos);
    // Each string value is stored zero-terminated after its key (padding between them).
    EXPECT_NE(version.find(wide(TELLIT_PROJECT_VERSION) + std::string(2, '\0')), std::string::npos);
    EXPECT_NE(version.find(wide(TELLIT_VERSION) + std::string(2, '\0')), std::string::npos);
}

// The application manifest: runs as the invoker, names the supported systems, keeps the classic
// common controls.
TEST(Resources, Manifest) {
    Module m;
    ASSERT_TRUE(m.handle);
    std::string manifest = m.Resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)); // RT_MANIFEST
    ASSERT_FALSE(manifest.empty()) << "Tellit.exe carries no manifest";
    struct Expect {
        const char* text;
        bool present;
    };
    const Expect table[] = {
        {"<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>", true},
        {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", true}, // Vista
        {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", true}, // 7
        {"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", true}, // 8
        {"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", true}, // 8.1
        {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", true}, // 10 and 11
        {"version=\"" TELLIT_PROJECT_VERSION "\"", true},
        {"name=\"Microsoft.Windows.Common-Controls\"", false}, // no comctl32 6: classic controls
        // Drawn at any scale by the program itself: per-monitor v2, then the older awarenesses.
        {">PerMonitorV2, PerMonitor</dpiAwareness>", true},
        {">true/pm</dpiAware>", true},
        {"@", false},                                         // every placeholder filled in
    };
    for (const Expect& e : table)
        EXPECT_EQ(manifest.find(e.text) != std::string::npos, e.present) << e.text;
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
