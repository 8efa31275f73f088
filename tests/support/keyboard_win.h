#pragma once
// Real keyboard input with SendInput. It reaches the foreground window's
// focus only, so make the window foreground first.
#include <windows.h>

#include <vector>

namespace rapporta::test {

// Brings the window to the foreground and waits until it is there.
bool MakeForeground(HWND window);

// Presses and releases a key with modifiers (VK_CONTROL, VK_SHIFT, VK_MENU)
// held down around it.
void PressKey(WORD key, const std::vector<WORD>& modifiers = {});

}  // namespace rapporta::test
