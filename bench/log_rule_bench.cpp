// The log rule and the queued log, natively. Under Wine what costs is the
// text box's update, so the burst figures also count how many updates and how
// many characters each form hands the box.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>

#include "chat/chat_log.h"
#include "chat/log_rule.h"

namespace {

using rapporta::Text;
using rapporta::TextView;
using namespace rapporta::chat;

// A line of ordinary chat: 40 to 60 characters of text.
Text ChatLine(int i) {
  Text text = u"JA1ABC>";
  text.append(u"the quick brown fox jumps over the lazy dog " + Text(static_cast<std::size_t>(i % 20), u'!'));
  return text;
}

// A log of exactly `size` characters made of timed chat entries.
Text MakeLog(std::size_t size) {
  Text log;
  for (int i = 0; log.size() < size + 200; ++i) log += LogEntry(u"[12:34]", ChatLine(i));
  log.erase(0, log.size() - size);
  return log;
}

const Text kEntry = LogEntry(u"[12:34]", ChatLine(7));

// The copy that every read of the log costs; the two below include it.
void BM_CopyLog(benchmark::State& state) {
  const Text log = MakeLog(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    Text copy = log;
    benchmark::DoNotOptimize(copy.data());
  }
}

// TrimLog of a candidate of the log plus one entry (the last size trims).
void BM_TrimLog(benchmark::State& state) {
  const Text candidate = MakeLog(static_cast<std::size_t>(state.range(0))) + kEntry;
  for (auto _ : state) {
    Text log = candidate;
    TrimLog(log);
    benchmark::DoNotOptimize(log.data());
  }
}

// One SetChatText as text: the log read back, the entry appended, trimmed.
void BM_AppendEntry(benchmark::State& state) {
  const Text old = MakeLog(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    Text log = old;
    AppendEntry(log, kEntry);
    benchmark::DoNotOptimize(log.data());
  }
}

#define LOG_SIZES Arg(1000)->Arg(30000)->Arg(59000)->Arg(59990)
BENCHMARK(BM_CopyLog)->LOG_SIZES;
BENCHMARK(BM_TrimLog)->LOG_SIZES;
BENCHMARK(BM_AppendEntry)->LOG_SIZES;
#undef LOG_SIZES

// A text box that counts what it is handed.
class CountingBox : public LogBox {
 public:
  Text text;
  std::int64_t updates = 0;
  std::int64_t written = 0;
  std::size_t Length() const override { return text.size(); }
  Text Read() const override { return text; }
  void Replace(TextView t) override {
    ++updates;
    written += static_cast<std::int64_t>(t.size());
    text = Text(t);
  }
  void Append(TextView t) override {
    ++updates;
    written += static_cast<std::int64_t>(t.size());
    text.append(t);
  }
  // In place, as the real box does it: only the appended text is written.
  void DropFrontAndAppend(std::size_t count, TextView t) override {
    ++updates;
    written += static_cast<std::int64_t>(t.size());
    text.erase(0, count).append(t);
  }
};

constexpr int kBurstLines = 1000;

void ReportBox(benchmark::State& state, const CountingBox& box) {
  using benchmark::Counter;
  state.counters["box_updates"] = Counter(static_cast<double>(box.updates), Counter::kAvgIterations);
  state.counters["chars_to_box"] = Counter(static_cast<double>(box.written), Counter::kAvgIterations);
}

// The literal form: every line reads the whole log back, rebuilds it and
// writes it whole into the box.
void BM_BurstRebuildEachLine(benchmark::State& state) {
  const Text start = MakeLog(static_cast<std::size_t>(state.range(0)));
  CountingBox box;
  for (auto _ : state) {
    box.text = start;
    for (int i = 0; i < kBurstLines; ++i) {
      Text log = box.Read();
      AppendEntry(log, LogEntry(u"[12:34]", ChatLine(i)));
      box.Replace(log);
    }
  }
  ReportBox(state, box);
}

// ChatLog with the burst arriving in turns of the message loop of
// range(1) lines each: 1000 is the whole burst in one turn, 1 the worst
// grouping.
void BM_BurstChatLog(benchmark::State& state) {
  const Text start = MakeLog(static_cast<std::size_t>(state.range(0)));
  const auto linesPerTurn = static_cast<int>(state.range(1));
  CountingBox box;
  for (auto _ : state) {
    box.text = start;
    ChatLog log(box);
    for (int i = 0; i < kBurstLines; ++i) {
      log.Add(LogEntry(u"[12:34]", ChatLine(i)));
      if ((i + 1) % linesPerTurn == 0) log.Flush();
    }
    log.Flush();
  }
  ReportBox(state, box);
}

BENCHMARK(BM_BurstRebuildEachLine)->ArgName("log")->Arg(0)->Arg(59000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BurstChatLog)
    ->ArgNames({"log", "lines_per_turn"})
    ->ArgsProduct({{0, 59000}, {1000, 10, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
