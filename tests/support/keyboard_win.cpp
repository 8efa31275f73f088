#include "support/keyboard_win.h"

#include "support/pump_win.h"

namespace rapporta::test {
namespace {

INPUT Key(WORD key, WORD scan, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki = {key, scan, flags, 0, 0};
  return input;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace

bool MakeForeground(HWND window) {
  SetForegroundWindow(window);
  SetActiveWindow(window);
  return PumpUntil([&] { return GetForegroundWindow() == window; }, 3000ms);
}

void PressKey(WORD key, const std::vector<WORD>& modifiers) {
  const auto real = [](WORD key, DWORD flags) {
    return Key(key, static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)), flags);
  };
  std::vector<INPUT> inputs;
  for (WORD modifier : modifiers) inputs.push_back(real(modifier, 0));
  inputs.push_back(real(key, 0));
  inputs.push_back(real(key, KEYEVENTF_KEYUP));
  for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it) inputs.push_back(real(*it, KEYEVENTF_KEYUP));
  Send(inputs);
}

}  // namespace rapporta::test
