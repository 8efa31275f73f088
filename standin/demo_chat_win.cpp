// A short chat between the stand-in host and a running rapporta.exe, for the
// screenshot that scripts/run takes: two lines received, one typed and sent.
// It lines the two windows up side by side and prints Rapporta's window
// rectangle (left top width height, in screen pixels) for cropping.
#include <windows.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

#include "common/check_win.h"
#include "common/bstr_win.h"
#include "standin_control.h"  // generated

namespace {

using Microsoft::WRL::ComPtr;
using rapporta::CheckHr;
using rapporta::Bstr;

HWND FindEdit(HWND parent, bool multiLine) {
  for (HWND edit = FindWindowExW(parent, nullptr, L"EDIT", nullptr); edit;
       edit = FindWindowExW(parent, edit, L"EDIT", nullptr)) {
    if (((GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) != 0) == multiLine) return edit;
  }
  return nullptr;
}

template <typename Condition>
bool WaitFor(Condition condition) {
  for (int i = 0; i < 1500; ++i, Sleep(20)) {
    if (condition()) return true;
  }
  return false;
}

void Receive(IStandinControl& host, const wchar_t* line) {
  Bstr text(rapporta::FromWide(line));
  CheckHr(host.InjectText(text.Get()), "StandinControl.InjectText");
}

int Run() {
  // Rapporta's window shows once it is connected, so the host runs by then
  // and is joined here, not started with this program's output.
  HWND form = nullptr;
  if (!WaitFor([&] {
        form = FindWindowW(L"Rapporta.Form1", nullptr);
        return form && IsWindowVisible(form);
      })) {
    std::fprintf(stderr, "rapporta.exe has no window\n");
    return 1;
  }
  ComPtr<IStandinControl> host;
  CheckHr(CoCreateInstance(CLSID_StandinControl, nullptr, CLSCTX_LOCAL_SERVER,
                           IID_PPV_ARGS(&host)),
          "CoCreateInstance(StandinControl)");
  RECT rect;
  GetWindowRect(form, &rect);
  SetWindowPos(form, HWND_TOP, 16, 16, 0, 0, SWP_NOSIZE);
  if (HWND standin = FindWindowW(L"RapportaStandinHost", nullptr)) {
    SetWindowPos(standin, nullptr, 16 + (rect.right - rect.left) + 16, 16, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  }

  Receive(*host.Get(), L"JA0TEST>こんばんは。N0CALL さん、聞こえますか？");
  const wchar_t reply[] = L"こんばんは。よく見えています。よろしくお願いします。";
  SendMessageW(FindEdit(form, false), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(reply));
  PostMessageW(FindWindowExW(form, nullptr, L"BUTTON", L"Send"), BM_CLICK, 0, 0);
  // The echo comes after the host has taken the line and the call sign is
  // read again: wait for it, so the next line lands after it.
  HWND log = FindEdit(form, true);
  if (!WaitFor([&] { return rapporta::WindowText(log).ends_with(reply); })) {
    std::fprintf(stderr, "the line was not echoed\n");
    return 1;
  }
  Receive(*host.Get(), L"JA0TEST>ありがとうございます。73");
  Sleep(500);  // the last line reaches the box and is drawn
  GetWindowRect(form, &rect);
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
              rect.bottom - rect.top);
  return 0;
}

}  // namespace

int main() {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int result = 1;
  try {
    result = Run();
  } catch (const rapporta::Failure& failure) {
    std::fprintf(stderr, "%s failed: 0x%08lX\n", failure.Operation().c_str(),
                 static_cast<unsigned long>(failure.Code()));
  }
  CoUninitialize();
  return result;
}
