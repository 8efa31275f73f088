#include "bench_form_win.h"

#include <string>

#include "bench_util_win.h"
#include "common/check_win.h"
#include "common/text_win.h"
#include "support/pump_win.h"

namespace rapporta::bench {
namespace {

class AnsweringHost final : public host::Host {
 public:
  Text LocalCallsign() override { return u"N0CALL"; }
  void SendChat(TextView) override {}
};

}  // namespace

BenchForm::BenchForm() {
  ui::Form1Services services;
  services.hostFactory = [this](host::HostEvents& events) -> std::unique_ptr<host::Host> {
    events_ = &events;
    return std::make_unique<AnsweringHost>();
  };
  services.instanceName = L"Local\\RapportaBench." + std::to_wstring(GetCurrentProcessId());
  form_ = std::make_unique<ui::Form1>(std::move(services));
  if (form_->Start(SW_SHOWNORMAL) != ui::StartResult::Running || events_ == nullptr) {
    throw Failure("Form1 start", 0);
  }
  SetForegroundWindow(form_->Window());
  PumpFor(300);
}

void BenchForm::Settle() {
  // Queued entries wait for their update on a timer that only a loop sees.
  while (form_->LogPending()) PumpFor(1);
  test::PumpPending();
  UpdateWindow(form_->Window());
}

void BenchForm::Reset(TextView text) {
  Settle();
  const Text copy(text);
  CheckWin(SetWindowTextW(Log(), WidePtr(copy)), "SetWindowText");
  SendMessageW(Log(), EM_SETSEL, 65534, 65534);
  SendMessageW(Log(), EM_SCROLLCARET, 0, 0);
  Settle();
}

Text ChatLines(std::size_t length) {
  Text text;
  int n = 0;
  while (text.size() < length) text.append(u"\r\n\r\n[12:34]").append(ChatLine(n++));
  text.resize(length);
  return text;
}

Text ChatLine(int n) {
  Text line = u"JA1XYZ-L>CQ CQ de JA1XYZ, QSL via bureau, 73 ";
  for (const wchar_t c : std::to_wstring(n)) line.push_back(static_cast<char16_t>(c));
  return line;
}

}  // namespace rapporta::bench
