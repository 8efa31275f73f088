// One received line of 50000 characters: Wine's edit control lays out a long
// unbroken line slowly, so this is where a window can freeze for seconds.
#include "huge_line_bench_win.h"

#include <functional>

#include "bench_form_win.h"
#include "bench_util_win.h"
#include "loop_probe_win.h"
#include "chat/log_box_win.h"
#include "chat/log_rule.h"
#include "common/text_win.h"

namespace rapporta::bench {
namespace {

constexpr std::size_t kHugeLength = 50000;

Text Unbroken() {
  Text text;
  for (std::size_t i = 0; i < kHugeLength; ++i) text.push_back(static_cast<char16_t>(u'a' + i % 26));
  return text;
}

Text Words() {
  Text text;
  while (text.size() < kHugeLength) text.append(u"lorem ipsum dolor sit amet ");
  text.resize(kHugeLength);
  return text;
}

double Time(BenchForm& bench, const std::function<void()>& work) {
  PumpFor(50);  // the window's flush pacing does not come into it
  const double began = NowMs();
  work();
  bench.Settle();
  return NowMs() - began;
}

}  // namespace

void RunHugeLineBench() {
  BenchForm bench;
  const HWND log = bench.Log();
  const Text before = ChatLines(5000);
  struct Kind {
    const char* name;
    Text text;
  };
  const Kind kinds[] = {{"unbroken", Unbroken()}, {"words", Words()}};
  for (const Kind& kind : kinds) {
    bench.Reset(before);
    const double whole = Time(bench, [&] {
      Text text = FromWide(WindowText(log));
      text.append(chat::kEntrySeparator).append(kind.text);
      chat::TrimLog(text);
      SetWindowTextW(log, WidePtr(text));
      SendMessageW(log, EM_SETSEL, chat::kCaretEnd, chat::kCaretEnd);
      SendMessageW(log, EM_SCROLLCARET, 0, 0);
    });
    bench.Reset(before);
    PumpFor(50);
    // Shown in full once the box holds the whole entry; the window's loop
    // runs meanwhile, as it does in the program.
    const std::size_t full = before.size() + chat::kEntrySeparator.size() + 7 + kind.text.size();
    LoopProbe probe(bench.Form().Window());
    const double began = NowMs();
    bench.Receive(kind.text);
    while (static_cast<std::size_t>(GetWindowTextLengthW(log)) < full && NowMs() - began < 60000) {
      PumpFor(1);
    }
    bench.Settle();
    const double ours = NowMs() - began;
    probe.Stop();
    const double next = Time(bench, [&] { bench.Receive(ChatLine(1)); });
    // The box wraps its lines again at a new width: the huge line with them.
    const HWND window = bench.Form().Window();
    RECT frame{};
    GetWindowRect(window, &frame);
    const double resized = Time(bench, [&] {
      SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left - 40, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    });
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    // Enough short lines after it to trim it away again.
    const double trimmed = Time(bench, [&] { bench.Receive(ChatLines(20000)); });
    PrintRow(Format("50000-char %s line: whole rewrite", kind.name), Format("%8.1f ms", whole));
    PrintRow(Format("50000-char %s line: SetChatText", kind.name),
             Format("%8.1f ms (loop waited %.1f ms at most); next line %.1f ms; resizing the "
                    "window %.0f ms; trimming it away %.1f ms",
                    ours, probe.Longest(), next, resized, trimmed));
  }
}

}  // namespace rapporta::bench
