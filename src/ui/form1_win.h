#pragma once
// Form1, the program's one window: it routes the messages of its six
// controls and the host's events to their handlers, and keeps the failure
// policy and the close rule. The host's two events and unload are its own
// handlers; the other rules live beside it: start-up in connection/, the
// log, sending and the keys in chat/.
//
// For tests and the program's entry:
//   Form1 form(services);            // services are injected (host, save, clock)
//   form.Start(SW_SHOWNORMAL);       // creates, runs Form_Load, shows
//   form.Window(), form.Control(sInput)  window handles (Window() is null once
//                                    the window is gone)
//   form.LogText()                   the log as the rules give it (queued
//                                    entries applied)
//   form.LogPending()                whether entries wait for the box
//   form.ChatTextReceived(...), form.Closing()   the host's events
//   RunMessageLoop(form)             (message_loop_win.h) until the window is gone
// Entries reach the log box on a later turn of the message loop (a burst at
// most every 40 ms, a huge entry over a few turns); pump messages until
// LogPending() is false before reading the box itself.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "chat/keyboard_win.h"
#include "chat/log_rule.h"
#include "chat/paced_log_win.h"
#include "chat/sending.h"
#include "connection/single_instance_win.h"
#include "connection/startup.h"
#include "host/host.h"
#include "ui/close_rule.h"
#include "ui/form_controls_win.h"

namespace rapporta::ui {

// B_Save_Click: owner of the dialog, and how to read the log at writing time.
using SaveCommand = std::function<void(HWND owner, const std::function<Text()>& readLog)>;
using Clock = std::function<chat::LocalTime()>;

struct Form1Services {
  host::HostFactory hostFactory;
  SaveCommand save;
  Clock clock;  // empty: the local time
  std::wstring instanceName = connection::kInstanceName;  // the single-instance mutex
};

enum class StartResult {
  Running,  // the window is shown
  Ended,    // second instance, failed start-up (reported) or the host closed;
            // the window is gone
};

class Form1 final : public host::HostEvents,
                    private chat::SendingWindow,
                    private connection::StartupWindow {
 public:
  explicit Form1(Form1Services services);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  StartResult Start(int showCommand = SW_SHOWNORMAL);

  HWND Window() const { return window_; }
  HWND Control(ControlIndex index) const { return controls_[index]; }
  Text LogText() { return log_ ? log_->Read() : Text(); }
  bool LogPending() const { return log_ && log_->Pending(); }

  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Window methods.
  void SendChatMsg();
  void SetChatText(TextView text) override;

  // The host's events, handed to Echo_ChatTextReceived and Echo_Closing.
  void ChatTextReceived(TextView text) override;
  void Closing() override;
  void SentLate(TextView callsign, TextView line) override;

 private:
  void OnCommand(int id, int code);
  void Form_Resize(bool minimized);
  // Fits the controls to the window's size (unless it is minimized); throws.
  void Layout();

  // Runs one handler: a failure is reported and abandons it; a close that
  // came meanwhile is carried out once no handler is running any more.
  template <typename Work>
  void RunHandler(Work&& work) noexcept;
  // The system's own modal loops hold a close off too.
  void SetInLoop(CloseRule::Loop loop, bool inside);
  void CloseIfDue(bool due);

  void Echo_ChatTextReceived(TextView sText);
  void Echo_Closing();
  void Form_Unload();
  void B_Send_Click();
  void B_Clear_Click();
  void B_Save_Click();
  void C_Time_Click();

  // chat::SendingWindow
  host::Host* Echo() override { return echo_.get(); }
  Text StartupCallsign() override { return startupCallsign_; }
  Text InputText() override;
  void SetInputText(TextView text) override;
  void FocusInput() override;
  // connection::StartupWindow
  bool AnotherInstanceRunning() override;
  void ShowMessage(TextView text, TextView title) override;
  host::Host* ConnectHost() override;
  bool CloseRequested() const override { return closeRequested_; }
  void SetCaption(TextView caption) override;
  void SetStartupCallsign(TextView callsign) override { startupCallsign_ = Text(callsign); }
  void SetShowTime(bool on) override { showTime_ = on; }

  Form1Services services_;
  HWND window_ = nullptr;
  FormControls controls_;
  std::optional<chat::PacedLog> log_;
  std::optional<chat::InputKeys> inputKeys_;
  std::optional<chat::LogKeys> logKeys_;
  std::optional<connection::SingleInstance> instance_;
  std::unique_ptr<host::Host> echo_;
  chat::Sender sender_;
  Text startupCallsign_;
  int dpi_ = 96;  // the window's DPI, as last announced
  bool showTime_ = false;
  CloseRule closeRule_;
  bool closeRequested_ = false;  // the host announced its closing
  HWND lastFocus_ = nullptr;
};

}  // namespace rapporta::ui
