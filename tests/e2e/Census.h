// A count of what a running process holds, taken from outside it: GDI objects, windows, sockets and
// kernel handles. Under Wine, GetGuiResources returns 0, so each figure is counted where it lives.
#pragma once

#include <windows.h>

#include <string>

struct TCensus {
    int gdi = -1;    // live entries of the process's GDI handle table (-1: not readable)
    int windows = 0; // windows of the thread: top-level ones and all their descendants
    int sockets = 0; // handles of the process that are sockets
    int handles = 0; // kernel handles of the process
};

// The census of a process (a handle with full access) and its GUI thread.
TCensus TakeCensus(HANDLE process, DWORD thread);

std::string Describe(const TCensus& c);
