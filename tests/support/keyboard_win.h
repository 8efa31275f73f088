#pragma once
// Real keyboard input with SendInput. It reaches the foreground window's
// focus only, so make the window foreground first.
#include <windows.h>

#include <vector>

#include "support/pump_win.h"

namespace rapporta::test {

// Brings the window to the foreground and waits until it is there.
inline bool MakeForeground(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  return PumpUntil([&] { return GetForegroundWindow() == window; }, 3000ms);
}

// Presses and releases a key with modifiers (VK_CONTROL, VK_SHIFT, VK_MENU)
// held down around it.
inline void PressKey(WORD key, const std::vector<WORD>& modifiers = {}) {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD code, DWORD flags) {
    INPUT& input = inputs.emplace_back();
    input.type = INPUT_KEYBOARD;
    input.ki = {code, static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC)), flags, 0, 0};
  };
  for (WORD modifier : modifiers) add(modifier, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) add(*it, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace rapporta::test
