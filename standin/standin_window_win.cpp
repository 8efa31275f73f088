#include "standin/standin_window_win.h"

#include <algorithm>
#include <string>

#include "common/bound_window_win.h"
#include "common/check_win.h"
#include "common/text_win.h"

namespace rapporta::standin {
namespace {

constexpr wchar_t kClassName[] = L"RapportaStandinHost";
enum ControlId { kCallsign = 101, kReceiveText, kReceive, kSent, kClose, kNote };

struct ControlLayout {
  const wchar_t* windowClass;
  const wchar_t* text;
  DWORD style;
  int id;
  RECT box;  // left, top, right, bottom in pixels
};

const ControlLayout kLayout[] = {
    {L"STATIC", L"Call sign", 0, 0, {10, 12, 90, 32}},
    {L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kCallsign, {90, 10, 250, 32}},
    {L"STATIC", L"Receive", 0, 0, {10, 44, 90, 64}},
    {L"EDIT", L"", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kReceiveText, {90, 42, 330, 64}},
    {L"BUTTON", L"Receive", WS_TABSTOP | BS_DEFPUSHBUTTON, kReceive, {340, 41, 420, 65}},
    {L"STATIC", L"Sent by the client", 0, 0, {10, 76, 200, 96}},
    {L"LISTBOX", L"", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT, kSent,
     {10, 98, 420, 250}},
    {L"BUTTON", L"Close host", WS_TABSTOP, kClose, {10, 260, 120, 286}},
    {L"STATIC", L"", 0, kNote, {10, 296, 430, 346}},
};

}  // namespace

StandinWindow::StandinWindow(StandinHost& host) : host_(host) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW style{};
  style.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  style.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  BoundWindow<StandinWindow>::Register(kClassName, style);

  RECT frame{0, 0, 440, 350};
  AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
  // At the right of the screen, so that Rapporta (placed by the system,
  // usually at the left) and the host are both in view.
  RECT work{0, 0, 1024, 768};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left;
  const int left = std::max(0, static_cast<int>(work.right) - width - 20);
  window_.Reset(CheckWin(CreateWindowExW(0, kClassName, L"EchoLink (Rapporta stand-in)",
                                         WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU |
                                             WS_MINIMIZEBOX,
                                         left, static_cast<int>(work.top) + 20, width,
                                         frame.bottom - frame.top, nullptr, nullptr, instance,
                                         this),
                         "CreateWindowEx"));
  const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
  for (const auto& item : kLayout) {
    HWND control = CheckWin(
        CreateWindowExW(0, item.windowClass, item.text, WS_CHILD | WS_VISIBLE | item.style,
                        item.box.left, item.box.top, item.box.right - item.box.left,
                        item.box.bottom - item.box.top, window_.Get(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), instance, nullptr),
        "CreateWindowEx");
    SendMessageW(control, WM_SETFONT, font, FALSE);
  }
  Refresh();
}

void StandinWindow::Refresh() {
  refreshing_ = true;
  const std::wstring callsign = NulTerminated(host_.Callsign());
  if (WindowText(Control(kCallsign)) != callsign) SetWindowTextW(Control(kCallsign), callsign.c_str());
  HWND sent = Control(kSent);
  const auto shown = static_cast<std::size_t>(SendMessageW(sent, LB_GETCOUNT, 0, 0));
  for (std::size_t i = shown; i < host_.Sent().size(); ++i) {
    const std::wstring line = NulTerminated(host_.Sent()[i]);
    SendMessageW(sent, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  }
  SendMessageW(sent, LB_SETTOPINDEX, host_.Sent().empty() ? 0 : host_.Sent().size() - 1, 0);
  refreshing_ = false;
}

void StandinWindow::StandAside(const std::wstring& note) {
  for (int id : {kCallsign, kReceiveText, kReceive}) EnableWindow(Control(id), FALSE);
  SetWindowTextW(Control(kNote), note.c_str());
}

LRESULT StandinWindow::OnMessage(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (!window_) return DefWindowProcW(window, message, w, l);  // still being made
  try {
    switch (message) {
      case WM_COMMAND:
        OnCommand(LOWORD(w), HIWORD(w));
        return 0;
      case WM_CLOSE:
        host_.CloseHost();
        return 0;
    }
  } catch (const std::exception& failure) {
    MessageBoxA(window_.Get(), failure.what(), "EchoLink stand-in", MB_OK | MB_ICONERROR);
    return 0;
  }
  return DefWindowProcW(window_.Get(), message, w, l);
}

void StandinWindow::OnCommand(int id, int code) {
  switch (id) {
    case kCallsign:
      if (code == EN_CHANGE && !refreshing_) host_.SetCallsign(FromWide(WindowText(Control(kCallsign))));
      break;
    case IDOK:  // Enter in the window
    case kReceive: {
      const Text text = FromWide(WindowText(Control(kReceiveText)));
      SetWindowTextW(Control(kReceiveText), L"");
      host_.Receive(text);
      break;
    }
    case kClose:
      host_.CloseHost();
      break;
  }
}

}  // namespace rapporta::standin
