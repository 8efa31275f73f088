#pragma once
// Twips and pixels at a window's DPI. The program declares itself per-monitor
// DPI aware; the calls that know about that exist only on Windows 10 and are
// looked up at run time, falling back to the system DPI.
#include <windows.h>

#include "common/unique_win.h"
#include "ui/layout.h"

namespace rapporta::ui {

inline constexpr int kDefaultDpi = 96;

int DpiOf(HWND window);
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, kTwipsPerInch); }
inline int PixelsToTwips(int pixels, int dpi) { return MulDiv(pixels, kTwipsPerInch, dpi); }

// The outer size of a window whose client area is clientWidth x clientHeight.
SIZE OuterSizeFor(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

// The system's message font at the given DPI: the window's default font.
UniqueFont MessageFont(int dpi);

}  // namespace rapporta::ui
