#include "tests/e2e/Census.h"

#include <winsock.h>
#include <winternl.h>

#include <vector>

namespace {

// The GDI handle table the PEB points at (GdiSharedHandleTable): 65,536 entries of 24 bytes, the
// object type in byte 14; a non-zero type marks a live object.
int CountGdi(HANDLE process) {
    PROCESS_BASIC_INFORMATION info{};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return -1;
    const size_t tableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    ULONG_PTR table = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<const char*>(info.PebBaseAddress) + tableOffset, &table,
                           sizeof table, nullptr) ||
        table == 0)
        return -1;
    const size_t entries = 65536, entrySize = 24;
    std::vector<unsigned char> bytes(entries * entrySize);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), bytes.data(), bytes.size(), nullptr))
        return -1;
    int live = 0;
    for (size_t i = 0; i < entries; ++i)
        live += bytes[i * entrySize + 14] != 0;
    return live;
}

BOOL CALLBACK CountChild(HWND, LPARAM lp) {
    ++*reinterpret_cast<int*>(lp);
    return TRUE;
}

BOOL CALLBACK CountTop(HWND w, LPARAM lp) {
    ++*reinterpret_cast<int*>(lp);
    EnumChildWindows(w, CountChild, lp);
    return TRUE;
}

// Handle values are multiples of 4, handed out from the lowest free one: each one below 65,536 is
// duplicated into this process, and a duplicate that select() accepts is a socket. (Wine's
// GetProcessHandleCount gives 0, so every value is tried; its getsockopt refuses sockets that this
// process did not create, select asks the system about the handle itself.)
void CountHandles(HANDLE process, TCensus& c) {
    for (ULONG_PTR h = 4; h < 0x10000; h += 4) {
        HANDLE dup = nullptr;
        if (!DuplicateHandle(process, reinterpret_cast<HANDLE>(h), GetCurrentProcess(), &dup, 0, FALSE,
                             DUPLICATE_SAME_ACCESS))
            continue;
        ++c.handles;
        fd_set set;
        FD_ZERO(&set);
        FD_SET(SOCKET(dup), &set);
        timeval now{0, 0};
        int r = select(0, nullptr, nullptr, &set, &now);
        if (r != SOCKET_ERROR) ++c.sockets;
        CloseHandle(dup);
    }
}

} // namespace

TCensus TakeCensus(HANDLE process, DWORD thread) {
    TCensus c;
    c.gdi = CountGdi(process);
    EnumThreadWindows(thread, CountTop, reinterpret_cast<LPARAM>(&c.windows));
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    CountHandles(process, c);
    WSACleanup();
    return c;
}

std::string Describe(const TCensus& c) {
    return "GDI objects " + std::to_string(c.gdi) + ", windows " + std::to_string(c.windows) + ", sockets " +
           std::to_string(c.sockets) + ", handles " + std::to_string(c.handles);
}
