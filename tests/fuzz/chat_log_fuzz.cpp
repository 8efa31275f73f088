// Drives the log rule and the queued chat log with arbitrary UTF-16 entries,
// clears, flushes and edits "by the mouse", and checks after every step that
// the log stays what the rule says it is.
//
// Invariants, with candidate = log before the append + the new entry:
//   1. The log never exceeds kLogLimit characters.
//   2. After an append the log is a suffix of the candidate.
//   3. A candidate of at most kLogLimit characters is kept exactly.
//   4. A longer candidate keeps the text after the first CR LF of its last
//      kTrimTailLength characters; without a CR LF there, it keeps that whole
//      tail, or the tail less its first character when that is a low
//      surrogate.
//   5. The cut never splits a surrogate pair: the log may begin with a low
//      surrogate only when, in the candidate, that unit does not follow a high
//      surrogate (a lone low surrogate that the entry text itself carried,
//      kept because it directly follows the CR LF where the cut was made).
//      Hence a log made only of well-formed entries is well-formed UTF-16.
//   6. The queued log, whatever the grouping of its flushes, holds exactly the
//      text of the rule applied entry by entry, and the box is never handed
//      more than kLogLimit characters.
//   7. A flush with a budget hands the box at most that many characters (two
//      when the budget is smaller, so that it always gets on), and what it
//      holds back is the rest of the rule's text: the box then holds a
//      prefix of it, cut inside neither a CR LF nor a surrogate pair.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "chat/chat_log.h"
#include "chat/log_rule.h"

namespace {

using rapporta::Text;
using rapporta::TextView;
using namespace rapporta::chat;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

void Check(bool ok, const char* what) {
  if (!ok) Fail(what);
}

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool WellFormed(TextView text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsHigh(text[i])) {
      if (i + 1 == text.size() || !IsLow(text[i + 1])) return false;
      ++i;
    } else if (IsLow(text[i])) {
      return false;
    }
  }
  return true;
}

// Reads the fuzz input front to back; past its end everything reads as zero.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Done() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::size_t Word() {
    const std::size_t low = Byte();
    return low | static_cast<std::size_t>(Byte()) << 8;
  }
  // Mostly the units the rule cares about (CR, LF, both halves of a pair),
  // any unit at all behind an escape byte.
  char16_t Unit() {
    static constexpr char16_t kCommon[] = {u'a',    u'\r',   u'\n',   0xD83D,
                                           0xDE00,  u' ',    u'\x3042', u'>'};
    const std::uint8_t b = Byte();
    if (b < 0xE0) return kCommon[b % 8];
    return static_cast<char16_t>(Word());
  }
  Text Short() {
    Text text;
    for (std::size_t n = Byte(); n > 0 && !Done(); --n) text.push_back(Unit());
    return text;
  }
  // A short pattern repeated up to 70000 characters in all: reaches the
  // limits without needing huge inputs.
  Text Long() {
    const Text unit = Short();
    Text text = Short();
    const std::size_t target = text.size() + Word() * 2;
    if (unit.empty()) return text;
    while (text.size() < target && text.size() < 70000) text += unit;
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

class CheckedBox : public LogBox {
 public:
  Text text;
  std::size_t written = 0;  // characters handed over since the last reset
  std::size_t Length() const override { return text.size(); }
  Text Read() const override { return text; }
  void Replace(TextView t) override {
    Check(t.size() <= kLogLimit, "box replaced with more than the limit");
    text = Text(t);
    written += t.size();
  }
  void Append(TextView t) override {
    text.append(t);
    written += t.size();
    Check(text.size() <= kLogLimit, "box appended past the limit");
  }
  // In place, as the real box does it.
  void DropFrontAndAppend(std::size_t count, TextView t) override {
    Check(count <= text.size(), "box asked to drop more than it holds");
    text.erase(0, count).append(t);
    written += t.size();
    Check(text.size() <= kLogLimit, "box trimmed in place past the limit");
  }
};

void CheckAppend(TextView candidate, TextView log) {
  Check(log.size() <= kLogLimit, "log exceeds the limit");
  Check(log.size() <= candidate.size() &&
            candidate.substr(candidate.size() - log.size()) == log,
        "log is not a suffix of the candidate");
  if (candidate.size() <= kLogLimit) {
    Check(log.size() == candidate.size(), "an entry that fits was dropped");
    return;
  }
  const std::size_t tailStart = candidate.size() - kTrimTailLength;
  const std::size_t cut = candidate.size() - log.size();
  const std::size_t lineBreak = candidate.find(u"\r\n", tailStart);
  if (lineBreak != TextView::npos) {
    Check(cut == lineBreak + 2, "trim did not cut after the tail's first CR LF");
  } else {
    const bool skipLow = IsLow(candidate[tailStart]);
    Check(cut == tailStart + (skipLow ? 1 : 0), "trim without CR LF cut elsewhere");
  }
  Check(cut == candidate.size() || !IsHigh(candidate[cut - 1]) || !IsLow(candidate[cut]),
        "trim split a surrogate pair");
}

void CheckBudgetedFlush(ChatLog& log, CheckedBox& box, std::size_t budget, TextView model) {
  box.written = 0;
  log.Flush(budget);
  Check(box.written <= std::max<std::size_t>(budget, 2), "flush went over its budget");
  if (!log.HasPending()) return;
  const std::size_t end = box.text.size();
  Check(end < model.size() && model.substr(0, end) == box.text,
        "held back text is not the rest of the log");
  Check(end == 0 || !(IsHigh(model[end - 1]) && IsLow(model[end])),
        "flush cut inside a surrogate pair");
  Check(end == 0 || !(model[end - 1] == u'\r' && model[end] == u'\n'),
        "flush cut inside a CR LF");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  Text model;  // the rule applied entry by entry
  bool modelFromWellFormed = true;
  CheckedBox box;
  ChatLog log(box);

  while (!in.Done()) {
    Text entry;
    bool isAppend = true;
    switch (in.Byte() % 8) {
      case 0: {
        const int hour = in.Byte() % 24;
        const int minute = in.Byte() % 60;
        entry = LogEntry(TimePrefix(true, {hour, minute}), in.Short());
        break;
      }
      case 1:
        entry = LogEntry(TimePrefix(false, {0, 0}), in.Short());
        break;
      case 2:
        entry = LogEntry(in.Byte() % 2 ? TimePrefix(true, {23, 59}) : Text(), in.Long());
        break;
      case 3:
        isAppend = false;
        log.Flush();
        break;
      case 4:
        isAppend = false;
        CheckBudgetedFlush(log, box, in.Word(), model);
        break;
      case 5:
        isAppend = false;
        log.Clear();
        model.clear();
        modelFromWellFormed = true;
        break;
      case 6:
        isAppend = false;
        Check(log.Read() == model, "read differs from the rule line by line");
        break;
      default: {
        // The user may change the box with the mouse; the log builds on that.
        isAppend = false;
        log.Flush();
        Check(box.text == model, "flushed box differs from the rule");
        box.text = in.Byte() % 2 ? in.Short() : in.Long();
        model = box.text;
        modelFromWellFormed = WellFormed(model);
        break;
      }
    }
    if (isAppend) {
      const Text candidate = model + entry;
      AppendEntry(model, entry);
      CheckAppend(candidate, model);
      modelFromWellFormed = modelFromWellFormed && WellFormed(entry);
      if (modelFromWellFormed) Check(WellFormed(model), "well-formed entries gave a broken log");
      log.Add(entry);
    }
    if (!log.HasPending()) Check(box.text == model, "box differs from the rule");
  }
  Check(log.Read() == model, "final read differs from the rule line by line");
  return 0;
}
