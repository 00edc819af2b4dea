#include "framework/IniFiles.h"

#include "framework/SysUtils.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

const char kUtf16Mark[] = "\xFF\xFE";
const char kUtf8Mark[] = "\xEF\xBB\xBF";

// Forgets what the system caches of the file, writing out what it has not written yet.
void FlushProfile(const std::wstring& fileName) {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, fileName.c_str());
}

struct Handle {
    HANDLE h;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle() {
        if (ok()) CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return h != INVALID_HANDLE_VALUE; }
};

bool ReadAll(HANDLE h, std::string& bytes) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size) || size.QuadPart > (LONGLONG(1) << 30)) return false;
    bytes.resize(size_t(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        if (!ReadFile(h, &bytes[done], DWORD(std::min<size_t>(bytes.size() - done, 1 << 20)), &n, nullptr))
            return false;
        if (n == 0) break;
        done += n;
    }
    bytes.resize(done);
    return true;
}

bool WriteAll(HANDLE h, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD n = 0;
        if (!WriteFile(h, p, DWORD(std::min<size_t>(size, 1 << 20)), &n, nullptr) || n == 0) return false;
        p += n;
        size -= n;
    }
    return true;
}

std::wstring Decode(const std::string& bytes, UINT codePage) {
    if (bytes.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring out(size_t(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), &out[0], n);
    return out;
}

} // namespace

bool FitsAnsiCodePage(const std::wstring& text) {
    if (text.empty() || GetACP() == CP_UTF8) return true;
    BOOL lost = FALSE;
    int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), nullptr, 0, nullptr, &lost);
    return n > 0 && !lost;
}

TIniFile::TIniFile(std::wstring fileName) : fileName_(std::move(fileName)) {}

TIniFile::~TIniFile() {
    FlushProfile(fileName_);
}

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& ident,
                                  const std::wstring& def) const {
    // The system cuts a value that does not fit and says so only by the length: grow until it fits.
    for (DWORD size = 256;; size *= 2) {
        std::vector<wchar_t> buffer(size);
        DWORD n = GetPrivateProfileStringW(section.c_str(), ident.c_str(), def.c_str(), buffer.data(), size,
                                           fileName_.c_str());
        if (n + 1 < size || size >= (1u << 20)) return std::wstring(buffer.data(), n);
    }
}

bool TIniFile::Readable() const {
    Handle h(CreateFileW(fileName_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return h.ok() || GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
}

bool TIniFile::Fail(unsigned long error) {
    lastError_ = error ? error : ERROR_WRITE_FAULT;
    return false;
}

bool TIniFile::PrepareFor(const std::wstring& text) {
    Handle in(CreateFileW(fileName_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in.ok()) {
        // Anything but a missing file is for the write itself to meet and report.
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return true;
        FlushProfile(fileName_);
        Handle out(
            CreateFileW(fileName_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out.ok()) return Fail(GetLastError());
        return WriteAll(out.h, kUtf16Mark, 2) || Fail(GetLastError());
    }
    char head[2] = {};
    DWORD got = 0;
    if (!ReadFile(in.h, head, 2, &got, nullptr)) return true;
    if (got == 2 && std::string(head, 2) == kUtf16Mark) return true;
    if (got > 0 && FitsAnsiCodePage(text)) return true;

    // An empty file, or an 8-bit one that cannot hold text: write it anew as UTF-16 beside it and put
    // that in its place, so that a failure half-way leaves the old file whole. Opening the file for
    // writing first finds a read-only or held file before anything is changed.
    {
        Handle probe(CreateFileW(fileName_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.ok()) return Fail(GetLastError());
    }
    FlushProfile(fileName_);
    std::string bytes;
    SetFilePointer(in.h, 0, nullptr, FILE_BEGIN);
    if (!ReadAll(in.h, bytes)) return Fail(GetLastError());
    CloseHandle(in.h);
    in.h = INVALID_HANDLE_VALUE;
    const std::wstring content =
        bytes.compare(0, 3, kUtf8Mark) == 0 ? Decode(bytes.substr(3), CP_UTF8) : Decode(bytes, CP_ACP);
    const std::wstring temp = fileName_ + L".new";
    {
        Handle out(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out.ok()) return Fail(GetLastError());
        if (!WriteAll(out.h, kUtf16Mark, 2) || !WriteAll(out.h, content.data(), content.size() * sizeof(wchar_t))) {
            DWORD e = GetLastError();
            CloseHandle(out.h);
            out.h = INVALID_HANDLE_VALUE;
            DeleteFileW(temp.c_str());
            return Fail(e);
        }
    }
    if (!MoveFileExW(temp.c_str(), fileName_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD e = GetLastError();
        DeleteFileW(temp.c_str());
        return Fail(e);
    }
    return true;
}

bool TIniFile::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value) {
    // A read-only file is refused here too: Wine, run by a user whom the file system lets write
    // anything, would write through the attribute.
    const DWORD attributes = GetFileAttributesW(fileName_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return Fail(ERROR_ACCESS_DENIED);
    if (!PrepareFor(section + ident + value)) return false;
    if (!WritePrivateProfileStringW(section.c_str(), ident.c_str(), value.c_str(), fileName_.c_str()))
        return Fail(GetLastError());
    lastError_ = 0;
    return true;
}

int TIniFile::ReadInteger(const std::wstring& section, const std::wstring& ident, int def) const {
    std::wstring s = ReadString(section, ident, L"");
    if (s.empty()) return def;
    return StrToIntDef(WideToUtf8(s), def);
}

bool TIniFile::WriteInteger(const std::wstring& section, const std::wstring& ident, int value) {
    return WriteString(section, ident, std::to_wstring(value));
}

bool TIniFile::ReadBool(const std::wstring& section, const std::wstring& ident, bool def) const {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

bool TIniFile::WriteBool(const std::wstring& section, const std::wstring& ident, bool value) {
    return WriteString(section, ident, value ? L"1" : L"0");
}
