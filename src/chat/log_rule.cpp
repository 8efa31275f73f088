#include "chat/log_rule.h"

#include <algorithm>
#include <cstddef>

namespace rapporta::chat {
namespace {

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The last decimal digit of value.
char16_t Digit(int value) { return static_cast<char16_t>(u'0' + value % 10); }

}  // namespace

Text TimePrefix(bool showTime, LocalTime now) {
  if (!showTime) return Text();
  return {u'[', Digit(now.hour / 10), Digit(now.hour), u':', Digit(now.minute / 10),
          Digit(now.minute), u']'};
}

Text LogEntry(TextView prefix, TextView text) {
  Text entry;
  entry.reserve(kEntrySeparator.size() + prefix.size() + text.size());
  entry.append(kEntrySeparator).append(prefix);
  const std::size_t textStart = entry.size();
  entry.append(text);
  std::replace(entry.begin() + static_cast<std::ptrdiff_t>(textStart), entry.end(), u'\0', u' ');
  return entry;
}

void TrimLog(Text& candidate) {
  if (candidate.size() <= kLogLimit) return;
  const std::size_t tailStart = candidate.size() - kTrimTailLength;
  const TextView tail = TextView(candidate).substr(tailStart);
  const std::size_t lineBreak = tail.find(u"\r\n");
  std::size_t keepFrom = tailStart;
  if (lineBreak != TextView::npos) {
    keepFrom += lineBreak + 2;
  } else if (IsLowSurrogate(tail.front())) {
    keepFrom += 1;  // never start inside a character
  }
  candidate.erase(0, keepFrom);
}

void AppendEntry(Text& log, TextView entry) {
  log.append(entry);
  TrimLog(log);
}

}  // namespace rapporta::chat
