// Test helper: another program that holds a file open without sharing it.
//   hold_file PATH EVENT   opens PATH for reading and writing with no sharing, then signals the named
//                          event EVENT (or exits with status 1 when it cannot open the file) and waits
//                          to be ended, a minute at most.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    HANDLE file =
        CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    if (!ready) return 1;
    SetEvent(ready);
    Sleep(60000);
    return 0;
}
