#pragma once
// What the stand-in host is: its call sign, the lines it was asked to send,
// its events, and what a test asked it to do to the next call. One lives for
// the whole process; the COM objects and the window share it.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "common/text.h"
#include "standin/event_source_win.h"

namespace rapporta::standin {

struct TypeInfos {
  Microsoft::WRL::ComPtr<ITypeInfo> hostApp;
  Microsoft::WRL::ComPtr<ITypeInfo> hostStation;
  Microsoft::WRL::ComPtr<ITypeInfo> control;
};

class StandinHost {
 public:
  StandinHost(TypeInfos types, Microsoft::WRL::ComPtr<EventSource> events)
      : types_(std::move(types)), events_(std::move(events)) {}

  const TypeInfos& Types() const { return types_; }
  EventSource& Events() { return *events_.Get(); }

  enum class Operation { Create, LocalStation, Callsign, SendChat };
  static constexpr std::size_t kOperations = 4;
  // The operation named so in DelayOperation, or none.
  static std::optional<Operation> OperationNamed(TextView name);

  // Every operation of the host starts here: a delay or failure a test asked
  // for is spent on it.
  HRESULT BeginCall(Operation operation);
  void FailNextCall(HRESULT result) { failNext_ = result; }
  void DelayOperation(Operation operation, DWORD milliseconds) {
    delayOperation_[static_cast<std::size_t>(operation)] = milliseconds;
  }

  const Text& Callsign() const { return callsign_; }
  void SetCallsign(Text callsign);
  const std::vector<Text>& Sent() const { return sent_; }
  // SendChat's work: the line is "sent", and whatever a test asked to be
  // received meanwhile arrives before the call returns.
  void Send(Text text);
  void RaiseInNextSend(Text text) { raiseInSend_ = std::move(text); }
  void Receive(TextView text) { events_->RaiseChatTextReceived(text); }
  // The next call made while a client listens raises Closing first.
  void RaiseClosingInNextCall() { closingInNextCall_ = true; }

  // Closing, then the host ends: for the close button and CloseHost.
  void CloseHost();
  // Ends the process right away, as if it had been killed.
  void Vanish();

  int stationsAlive = 0;
  // The one HostApp object while it lives (it clears this as it goes).
  IUnknown* sharedApp = nullptr;
  // The window follows the call sign and the sent lines.
  std::function<void()> changed;
  // How the host ends: quit ends its message loop; vanish (set by the
  // program) ends the process right after the call.
  std::function<void()> quit = [] { PostQuitMessage(0); };
  std::function<void()> vanish;

 private:
  void Changed() {
    if (changed) changed();
  }

  TypeInfos types_;
  Microsoft::WRL::ComPtr<EventSource> events_;
  Text callsign_ = u"N0CALL";
  std::vector<Text> sent_;
  HRESULT failNext_ = S_OK;
  std::array<DWORD, kOperations> delayOperation_{};
  std::optional<Text> raiseInSend_;
  bool closingInNextCall_ = false;
};

}  // namespace rapporta::standin
