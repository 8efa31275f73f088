#include "standin/standin_host_win.h"

#include <utility>

namespace rapporta::standin {

std::optional<StandinHost::Operation> StandinHost::OperationNamed(TextView name) {
  constexpr TextView kNames[kOperations] = {u"Create", u"LocalStation", u"Callsign",
                                            u"SendChat"};
  for (std::size_t i = 0; i < kOperations; ++i) {
    if (name == kNames[i]) return static_cast<Operation>(i);
  }
  return std::nullopt;
}

HRESULT StandinHost::BeginCall(Operation operation) {
  const DWORD delay = std::exchange(delayOperation_[static_cast<std::size_t>(operation)], 0);
  if (delay != 0) Sleep(delay);
  // Creating the object comes before anyone listens: it waits for the next.
  if (closingInNextCall_ && events_->SinkCount() > 0) {
    closingInNextCall_ = false;
    events_->RaiseClosing();
  }
  return std::exchange(failNext_, S_OK);
}

void StandinHost::SetCallsign(Text callsign) {
  callsign_ = std::move(callsign);
  Changed();
}

void StandinHost::Send(Text text) {
  sent_.push_back(std::move(text));
  Changed();
  if (auto received = std::exchange(raiseInSend_, std::nullopt)) Receive(*received);
}

void StandinHost::CloseHost() {
  events_->RaiseClosing();
  if (quit) quit();
}

void StandinHost::Vanish() {
  if (vanish) vanish();
}

}  // namespace rapporta::standin
