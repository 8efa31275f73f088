// Drives the queued chat log with arbitrary UTF-16 entries, whole and
// budgeted flushes, clears, reads and edits "by the mouse", and checks after
// every step that its box holds what the log rule gives applied entry by
// entry. The rule's exact cut is the unit tests' matter; here each step of
// the rule is only checked for the shape it must keep whatever comes:
//   - the log is a tail of old log + entry, whole when that fits the limit,
//     else at most the trim's tail long, and not cut inside a surrogate pair;
//   - a budgeted flush hands the box something and at most its budget (two
//     when smaller, so it always gets on) and leaves it a head of the log,
//     cut inside neither a CR LF nor a surrogate pair.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "chat/chat_log.h"
#include "chat/log_rule.h"
#include "recording_box.h"

namespace {

using namespace rapporta;
using namespace rapporta::chat;

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

// Whether cutting text at `at` parts a surrogate pair, or with crlf a CR LF.
bool Parts(TextView text, std::size_t at, bool crlf) {
  if (at == 0 || at >= text.size()) return false;
  const char16_t before = text[at - 1], after = text[at];
  return ((before & 0xFC00) == 0xD800 && (after & 0xFC00) == 0xDC00) ||
         (crlf && before == u'\r' && after == u'\n');
}

// Reads the fuzz input front to back; past its end everything reads as zero.
struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos = 0;

  bool Done() const { return pos >= size; }
  std::uint8_t Byte() { return pos < size ? data[pos++] : 0; }
  std::size_t Word() {
    const std::size_t low = Byte();
    return low | static_cast<std::size_t>(Byte()) << 8;
  }
  // Mostly the units the rule cares about (CR, LF, both halves of a pair),
  // any unit at all behind an escape byte.
  char16_t Unit() {
    static constexpr char16_t kCommon[] = {u'a', u'\r', u'\n', 0xD83D, 0xDE00, u' ', u'あ', u'>'};
    const std::uint8_t b = Byte();
    return b < 0xE0 ? kCommon[b % 8] : static_cast<char16_t>(Word());
  }
  Text Short() {
    Text text;
    for (std::size_t n = Byte(); n > 0 && !Done(); --n) text.push_back(Unit());
    return text;
  }
  // A short pattern repeated up to 70000 characters in all: reaches the
  // limits without huge inputs.
  Text Long() {
    const Text unit = Short();
    Text text = Short();
    const std::size_t target = text.size() + Word() * 2;
    while (!unit.empty() && text.size() < target && text.size() < 70000) text += unit;
    return text;
  }
  Text Some() { return Byte() % 2 ? Long() : Short(); }
};

// The log rule's shape: a tail of old log + entry, whole when that fits the
// limit, else no longer than the trim's tail, and not cut inside a character.
void Append(ChatLog& log, Text& model, const Text& entry) {
  const Text candidate = model + entry;
  AppendEntry(model, entry);
  const std::size_t cut = candidate.size() - model.size();
  Check(TextView(candidate).ends_with(model) && !Parts(candidate, cut, false) &&
            (candidate.size() <= kLogLimit ? cut == 0 : model.size() <= kTrimTailLength),
        "the log is not what the rule makes of old log + entry");
  log.Add(entry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  test::RecordingBox box;
  ChatLog log(box);
  Text model;  // the rule applied entry by entry
  while (!in.Done()) {
    // An entry's prefix is text like any other to the rule.
    const int step = in.Byte() % 6;
    switch (step) {
      case 0: Append(log, model, LogEntry(u"", in.Some())); break;
      case 1: log.Flush(); break;
      case 2: {
        // Something and at most the budget (two when smaller, so it always
        // gets on), and what it holds back is the rest of the log, cut
        // between characters.
        const std::size_t budget = in.Word(), before = box.handed;
        const bool pending = log.HasPending();
        log.Flush(budget);
        Check(!pending || box.handed > before, "a budgeted flush handed nothing");
        Check(box.handed - before <= std::max<std::size_t>(budget, 2) &&
                  (!log.HasPending() || (TextView(model).starts_with(box.text) &&
                                         !Parts(model, box.text.size(), true))),
              "a budgeted flush handed more, or other than a head of the log");
        break;
      }
      case 3:
        log.Clear();
        model.clear();
        break;
      default:
        Check(log.Read() == model, "the log read differs from the rule");
        // The user may change the box with the mouse; the log builds on that.
        if (step == 5) box.text = model = in.Some();
    }
    Check(log.HasPending() || box.text == model, "the box differs from the rule");
  }
  return 0;
}
