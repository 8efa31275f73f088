#pragma once
// The stand-in's own window: a person chats with Rapporta through it. It
// shows the local call sign (editable), takes a line to "receive" into the
// chat, lists the lines the host was asked to send, and closes the host.
#include <windows.h>

#include <string>

#include "standin/handles_win.h"
#include "standin/standin_host_win.h"

namespace rapporta::standin {

class StandinWindow {
 public:
  explicit StandinWindow(StandinHost& host);
  StandinWindow(const StandinWindow&) = delete;
  StandinWindow& operator=(const StandinWindow&) = delete;

  HWND Handle() const { return window_.Get(); }
  // Brings the window up to date with the host.
  void Refresh();
  // The host does not serve: the note says why, and only closing is left.
  void StandAside(const std::wstring& note);
  // Its window's messages (common/bound_window_win.h).
  LRESULT OnMessage(HWND window, UINT message, WPARAM w, LPARAM l);

 private:
  void OnCommand(int id, int code);
  HWND Control(int id) const { return GetDlgItem(window_.Get(), id); }

  StandinHost& host_;
  UniqueWindow window_;
  bool refreshing_ = false;
};

}  // namespace rapporta::standin
