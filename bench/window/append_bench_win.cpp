// Appending to the log in the real window: the whole-text rewrite that the
// plain rule describes against the window's own SetChatText, side by side on
// the same edit control.
#include "append_bench_win.h"

#include <functional>
#include <vector>

#include "bench_form_win.h"
#include "bench_util_win.h"
#include "chat/log_box_win.h"
#include "chat/log_rule.h"
#include "common/text_win.h"

namespace rapporta::bench {
namespace {

constexpr TextView kPrefix = u"[12:34]";

// Read the whole text, build the candidate, trim, write it all back, caret.
void RewriteWhole(HWND log, TextView line) {
  Text text = FromWide(WindowText(log));
  text.append(chat::kEntrySeparator).append(kPrefix).append(line);
  chat::TrimLog(text);
  SetWindowTextW(log, WidePtr(text));
  SendMessageW(log, EM_SETSEL, chat::kCaretEnd, chat::kCaretEnd);
  SendMessageW(log, EM_SCROLLCARET, 0, 0);
}

// Per-line cost of one way of appending, the log kept between base and
// base + span characters (below base it is put back, untimed).
Figures Measure(BenchForm& bench, std::size_t base, std::size_t span, int lines,
                const std::function<void(int)>& append) {
  const Text start = ChatLines(base);
  bench.Reset(start);
  std::vector<double> samples;
  for (int n = 0; n < lines; ++n) {
    const auto length = static_cast<std::size_t>(GetWindowTextLengthW(bench.Log()));
    if (length < base || length > base + span) bench.Reset(start);
    // A line on its own: the window's flush pacing does not come into it.
    PumpFor(50);
    const double began = NowMs();
    append(n);
    bench.Settle();
    samples.push_back(NowMs() - began);
  }
  return Summarize(std::move(samples));
}

std::string Cell(const Figures& f) {
  return Format("median %7.2f ms, worst %7.2f ms (%zu lines)", f.median, f.worst, f.count);
}

// Lines that arrive back to back, each as its own message as host events
// do, near the cap: the per-line cost once the box's updates coalesce.
Figures Stream(BenchForm& bench, int lines, const std::function<void(int)>& append) {
  bench.Reset(ChatLines(59000));
  const DWORD thread = GetCurrentThreadId();
  constexpr UINT kLine = WM_APP + 100;
  for (int n = 0; n < lines; ++n) PostThreadMessageW(thread, kLine, static_cast<WPARAM>(n), 0);
  const double began = NowMs();
  MSG message;
  int received = 0;
  while (received < lines && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == kLine && message.hwnd == nullptr) {
      append(static_cast<int>(message.wParam));
      ++received;
    } else {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  bench.Settle();
  const double took = NowMs() - began;
  Figures figures;
  figures.median = took / lines;
  figures.worst = took;
  figures.count = static_cast<std::size_t>(lines);
  return figures;
}

}  // namespace

void RunAppendBench(int scale) {
  BenchForm bench;
  const HWND log = bench.Log();
  auto rewrite = [&](int n) { RewriteWhole(log, ChatLine(n)); };
  auto ours = [&](int n) { bench.Receive(ChatLine(n)); };

  struct Level {
    const char* name;
    std::size_t base;
    std::size_t span;
    int rewriteLines;
  };
  // At the cap every line or so of the samples trims the log.
  const Level levels[] = {{"1000", 1000, 3000, 100},
                          {"30000", 30000, 3000, 60},
                          {"59000 (at the cap, trimming)", 59000, chat::kLogLimit - 59000, 60}};
  double ourSmall = 0;
  for (const Level& level : levels) {
    const std::size_t span = level.span;
    const Figures whole = Measure(bench, level.base, span, level.rewriteLines * scale, rewrite);
    const Figures own = Measure(bench, level.base, span, 300 * scale, ours);
    if (level.base == 1000) ourSmall = own.median;
    PrintRow(Format("append at %s chars: whole rewrite", level.name), Cell(whole));
    PrintRow(Format("append at %s chars: SetChatText", level.name), Cell(own));
    PrintRow(Format("  ratio at %s chars", level.name),
             Format("rewrite/ours %.0fx median, %.0fx worst; ours vs 1000: %.2fx",
                    whole.median / own.median, whole.worst / own.worst,
                    own.median / ourSmall));
  }
  const Figures wholeStream = Stream(bench, 20 * scale, rewrite);
  const Figures ownStream = Stream(bench, 1000 * scale, ours);
  PrintRow("stream near the cap: whole rewrite, per line",
           Format("%7.2f ms (%zu lines in %.0f ms)", wholeStream.median, wholeStream.count,
                  wholeStream.worst));
  PrintRow("stream near the cap: SetChatText, per line",
           Format("%7.3f ms (%zu lines in %.0f ms)", ownStream.median, ownStream.count,
                  ownStream.worst));
  PrintRow("  ratio of the streams", Format("rewrite/ours %.0fx", wholeStream.median / ownStream.median));
}

}  // namespace rapporta::bench
