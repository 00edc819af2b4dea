// The DPI of windows and the system metrics at a DPI. Forms are laid out at 96 pixels per inch
// and scaled to the DPI of their monitor. The per-monitor functions of user32 (Windows 10 1607 and
// later, and Wine) are looked up at run time; without them everything is at the system's DPI.
#pragma once

#include <windows.h>

constexpr int kDesignDpi = 96;

// Makes the process aware of each monitor's DPI (per-monitor v2, else per-monitor, else system) for
// programs without a manifest that says so, such as the test programs; a process whose awareness is
// set already (Tellit's manifest) keeps it. Called once, before the first window is made.
void DeclareDpiAwareness();
// The DPI the screen DC reports (LOGPIXELSY).
int SystemDpi();
// The DPI of the window's monitor as the window sees it (GetDpiForWindow), else SystemDpi().
int WindowDpi(HWND hwnd);
// GetSystemMetricsForDpi, else GetSystemMetrics scaled from the system's DPI to dpi.
int MetricForDpi(int index, int dpi);
// SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS), else the system's metrics with their sizes
// and font heights scaled from the system's DPI to dpi. False when neither gives anything.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& ncm, int dpi);
// v * to / from, rounded to nearest as MulDiv does; v when either DPI is below 1.
int ScaleByDpi(int v, int to, int from);

// WM_DPICHANGED, which older headers lack.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
