#include "ui/form1_win.h"

#include "common/bound_window_win.h"
#include "common/check_win.h"
#include "common/text_win.h"
#include "ui/dpi_win.h"
#include "chat/key_rules.h"
#include "ui/failure_report_win.h"

namespace rapporta::ui {
namespace {

constexpr wchar_t kClassName[] = L"Rapporta.Form1";
constexpr wchar_t kInitialCaption[] = L"Form1";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = 0;
// The log's next update, on a later turn of the message loop or after the
// rest of its interval.
constexpr UINT kFlushLog = WM_APP + 1;
constexpr UINT_PTR kFlushTimer = 1;

// The outer size whose client area is the designed one at dpi.
SIZE DesignedOuterSize(int dpi) {
  return OuterSizeFor(TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi), kStyle,
                      kExStyle, dpi);
}

// Runs work; a failure is reported over owner (none: the window is not
// shown) and abandons it. A call given up because the window closes has
// nobody to tell.
template <typename Work>
void Guarded(HWND owner, Stage stage, Work&& work) noexcept {
  try {
    work();
  } catch (const Failure& failure) {
    if (failure.Code() != kGivenUp) ReportFailure(owner, failure, stage);
  } catch (const std::exception& error) {
    ReportUnexpected(owner, error.what());
  }
}

chat::LocalTime LocalNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wHour, now.wMinute};
}

}  // namespace

Form1::Form1(Form1Services services) : services_(std::move(services)) {}

Form1::~Form1() {
  if (window_ != nullptr) DestroyWindow(window_);
}

StartResult Form1::Start(int showCommand) {
  auto outcome = connection::StartupOutcome::Closed;
  closeRule_.Enter();
  Guarded(nullptr, Stage::kStartUp, [&] {
    WNDCLASSEXW style{};
    style.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    style.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    style.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    BoundWindow<Form1>::Register(kClassName, style);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    int dpi = DpiOf(nullptr);
    SIZE outer = DesignedOuterSize(dpi);
    CheckWin(CreateWindowExW(kExStyle, kClassName, kInitialCaption, kStyle, CW_USEDEFAULT,
                             CW_USEDEFAULT, outer.cx, outer.cy, nullptr, nullptr, instance, this),
             "CreateWindowEx");
    if (const int windowDpi = DpiOf(window_); windowDpi != dpi) {
      // Placed on a monitor of another DPI: the client area is sized for it.
      dpi = windowDpi;
      outer = DesignedOuterSize(dpi);
      CheckWin(SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
               "SetWindowPos");
    }
    dpi_ = dpi;
    controls_.Create(window_, dpi);
    log_.emplace(controls_[lChat], window_, kFlushLog, kFlushTimer);
    inputKeys_.emplace(controls_[sInput], [this] { SendChatMsg(); });
    logKeys_.emplace(controls_[lChat], [this] { FocusInput(); },
                     [this](bool open) { SetInLoop(CloseRule::kLogMenu, open); });
    // The first layout is part of start-up: a failure ends it.
    Layout();
    outcome = connection::Form_Load(*this);
  });
  const bool closeAsked = closeRule_.Leave();
  const bool goesOn = (outcome == connection::StartupOutcome::Connected ||
                       outcome == connection::StartupOutcome::Unconnected) &&
                      !closeRequested_ && !closeAsked;
  if (!goesOn) {
    // Never shown: the window goes, and Form_Unload with it.
    if (window_ != nullptr) DestroyWindow(window_);
    return StartResult::Ended;
  }
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  FocusInput();
  return StartResult::Running;
}

LRESULT Form1::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) window_ = window;
  if (message == WM_NCDESTROY) window_ = nullptr;
  switch (message) {
    case WM_SIZE:
      Form_Resize(wParam == SIZE_MINIMIZED);
      return 0;
    case WM_DPICHANGED:
      RunHandler([&] {
        if (!log_) return;
        dpi_ = HIWORD(wParam);
        controls_.ApplyDpi(dpi_);
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        CheckWin(SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                              suggested.right - suggested.left, suggested.bottom - suggested.top,
                              SWP_NOZORDER | SWP_NOACTIVATE),
                 "SetWindowPos");
        Layout();
      });
      return 0;
    case WM_COMMAND:
      if (lParam != 0) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_ACTIVATE:
      // The focus comes back to the control that had it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      if (log_) SetFocus(lastFocus_ != nullptr && IsWindow(lastFocus_) ? lastFocus_
                                                                        : controls_[sInput]);
      return 0;
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      SetInLoop(CloseRule::kSizeMove, message == WM_ENTERSIZEMOVE);
      break;
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      SetInLoop(CloseRule::kMenu, message == WM_ENTERMENULOOP);
      break;
    case WM_CLOSE:
      // A handler waiting for the host stops waiting.
      if (closeRule_.RequestClose()) {
        DestroyWindow(window_);
      } else if (echo_) {
        echo_->StopWaiting();
      }
      return 0;
    case WM_DESTROY:
      Form_Unload();
      // Wakes the message loop, which ends once the window is gone.
      PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
      return 0;
    case WM_TIMER:
      if (wParam != kFlushTimer) break;
      [[fallthrough]];
    case kFlushLog:
      RunHandler([&] {
        if (log_) log_->Flush();
      });
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void Form1::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (FormControls::IndexOfId(id)) {
    case B_Send:
      return B_Send_Click();
    case B_Clear:
      return B_Clear_Click();
    case B_Save:
      return B_Save_Click();
    case C_Time:
      return C_Time_Click();
  }
}

void Form1::Form_Resize(bool minimized) {
  // The controls come after the window's first WM_SIZE; minimized, nothing
  // moves.
  if (!log_ || minimized) return;
  RunHandler([&] { Layout(); });
}

void Form1::Layout() {
  RECT client{};
  CheckWin(GetClientRect(window_, &client), "GetClientRect");
  if (IsIconic(window_)) return;
  log_->Refit([&] { controls_.Resize(client.right, client.bottom, dpi_); });
}

template <typename Work>
void Form1::RunHandler(Work&& work) noexcept {
  closeRule_.Enter();
  Guarded(window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr, Stage::kRunning,
          work);
  CloseIfDue(closeRule_.Leave());
}

void Form1::SetInLoop(CloseRule::Loop loop, bool inside) {
  CloseIfDue(closeRule_.SetInLoop(loop, inside));
}

void Form1::CloseIfDue(bool due) {
  if (due && window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
}

void Form1::SendChatMsg() {
  // Also while a send is out: the line then goes after it.
  RunHandler([&] { sender_.SendChatMsg(*this); });
}

void Form1::SetChatText(TextView text) {
  if (!log_) return;
  // The entry, time prefix included, is formed on arrival; the box gets the
  // whole burst in one update on the next turn of the message loop.
  const chat::LocalTime now = services_.clock ? services_.clock() : LocalNow();
  log_->Add(chat::LogEntry(chat::TimePrefix(showTime_, now), text));
}

void Form1::ChatTextReceived(TextView text) {
  RunHandler([&] { Echo_ChatTextReceived(text); });
}

void Form1::Closing() { Echo_Closing(); }

// The received text goes to the log as it is.
void Form1::Echo_ChatTextReceived(TextView sText) { SetChatText(sText); }

void Form1::Echo_Closing() {
  // As the user closes it, through the message queue: never inside the
  // host's call. Start-up, still running, sees it as CloseRequested.
  closeRequested_ = true;
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
}

// Whoever closed the window: the host is released, and neither asked to
// close nor told anything else.
void Form1::Form_Unload() { echo_.reset(); }

void Form1::SentLate(TextView callsign, TextView line) {
  RunHandler([&] { sender_.SentLate(*this, callsign, line); });
}

void Form1::B_Send_Click() { SendChatMsg(); }

void Form1::B_Clear_Click() {
  RunHandler([&] {
    log_->Clear();
    FocusInput();
  });
}

void Form1::B_Save_Click() {
  // Only while the host keeps a handler waiting can the window's own
  // messages get here (call_wait_win.h); a second call must not start.
  if (closeRule_.Running()) {
    MessageBeep(MB_OK);
    return;
  }
  RunHandler([&] {
    if (services_.save) services_.save(window_, [this] { return log_->Read(); });
  });
}

void Form1::C_Time_Click() {
  RunHandler([&] {
    const LRESULT value = SendMessageW(controls_[C_Time], BM_GETCHECK, 0, 0);
    showTime_ = chat::ShowTimeFromCheck(static_cast<int>(value));
    FocusInput();
  });
}

Text Form1::InputText() { return FromWide(WindowText(controls_[sInput])); }

void Form1::SetInputText(TextView text) {
  CheckWin(SetWindowTextW(controls_[sInput], NulTerminated(text).c_str()), "SetWindowText");
}

void Form1::FocusInput() { SetFocus(controls_[sInput]); }

bool Form1::AnotherInstanceRunning() {
  instance_.emplace(services_.instanceName);
  return instance_->AnotherRunning();
}

void Form1::ShowMessage(TextView text, TextView title) {
  // Start-up's messages come before the window is shown: no owner.
  CheckWin(MessageBoxW(nullptr, NulTerminated(text).c_str(), NulTerminated(title).c_str(), MB_OK),
           "MessageBox");
}

host::Host* Form1::ConnectHost() {
  if (services_.hostFactory) echo_ = services_.hostFactory(*this);
  return echo_.get();
}

void Form1::SetCaption(TextView caption) {
  CheckWin(SetWindowTextW(window_, NulTerminated(caption).c_str()), "SetWindowText");
}

}  // namespace rapporta::ui
