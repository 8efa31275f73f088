#include "process_bench_win.h"

#include <windows.h>

#include <atomic>
#include <thread>
#include <vector>

#include "bench_util_win.h"
#include "common/check_win.h"
#include "common/text_win.h"
#include "host/host_app_win.h"
#include "ui/form_controls_win.h"
#include "loop_probe_win.h"
#include "programs_win.h"

namespace rapporta::bench {
namespace {

// The log ends with this text and its last character is inside the box.
bool ShowsAtEnd(HWND log, const std::wstring& last) {
  const std::wstring text = WindowText(log);
  if (text.size() < last.size() || text.compare(text.size() - last.size(), last.size(), last))
    return false;
  const LRESULT position = SendMessageW(log, EM_POSFROMCHAR, text.size() - 1, 0);
  RECT client{};
  GetClientRect(log, &client);
  const int y = static_cast<short>(HIWORD(position));
  return position != -1 && y >= 0 && y < client.bottom;
}

std::wstring BurstLine(int n) {
  return L"JA1XYZ-L>burst line " + std::to_wstring(n) + L" of the test, QSL 73";
}

double InjectAll(test::StandinSession& standin, int lines) {
  const double began = NowMs();
  for (int n = 1; n <= lines; ++n) standin.Inject(FromWide(BurstLine(n)));
  return NowMs() - began;
}

// A client of the host on a thread of its own that takes every event and does
// nothing with it: what the COM path alone costs per event.
class NullClient final : public host::HostEvents {
 public:
  NullClient()
      : thread_([this] {
          CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
          {
            const auto link = host::CreateHostApp(*this);
            threadId_ = GetCurrentThreadId();
            ready_ = true;
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
          }
          CoUninitialize();
        }) {
    while (!ready_) Sleep(1);
  }
  ~NullClient() override {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  NullClient(const NullClient&) = delete;
  NullClient& operator=(const NullClient&) = delete;
  long Received() const { return received_; }
  void ChatTextReceived(TextView) override { ++received_; }
  void Closing() override {}
  void SentLate(TextView, TextView) override {}

 private:
  std::atomic<long> received_{0};
  std::atomic<bool> ready_{false};
  DWORD threadId_ = 0;
  std::thread thread_;
};

}  // namespace

void RunBurstBench(const std::wstring& rapporta, int lines) {
  test::StandinSession standin;
  // First the same calls with nobody listening, and with a client that does
  // nothing: what the host link alone costs.
  const double alone = InjectAll(standin, lines);
  double nullClient = 0;
  {
    const NullClient client;
    const double start = NowMs();
    InjectAll(standin, lines);
    while (client.Received() < lines && NowMs() - start < 60000) Sleep(1);
    nullClient = NowMs() - start;
  }

  const test::Process program(rapporta, L"");
  const HWND form = program.WaitForWindow(nullptr, test::kConnected, 60s);
  if (!form) throw Failure("rapporta.exe did not connect", 0);
  const HWND log = GetDlgItem(form, ui::kFirstControlId + ui::lChat);
  PumpFor(500);

  LoopProbe probe(form);
  const double began = NowMs();
  const double injecting = InjectAll(standin, lines);
  const std::wstring last = BurstLine(lines);
  while (!ShowsAtEnd(log, last) && NowMs() - began < 60000) Sleep(1);
  const double visible = NowMs() - began;
  PumpFor(200);
  probe.Stop();
  const Memory memory = MemoryOf(program.Handle());

  PrintRow(Format("burst of %d lines over COM: last line visible after", lines),
           Format("%7.1f ms (events delivered in %.1f ms, then %.1f ms)", visible, injecting,
                  visible - injecting));
  PrintRow("  same injections with no client connected",
           Format("%7.1f ms (%.2f ms per line)", alone, alone / lines));
  PrintRow("  same injections to a client that does nothing with them",
           Format("%7.1f ms (%.2f ms per line)", nullClient, nullClient / lines));
  PrintRow("  longest wait for the window's message loop",
           Format("%7.1f ms (%ld probes)", probe.Longest(), probe.Probes()));
  PrintRow("  rapporta.exe after the burst: working set, private bytes, MB",
           Format("%.1f, %.1f", memory.workingSetMb, memory.privateMb));
}

}  // namespace rapporta::bench
