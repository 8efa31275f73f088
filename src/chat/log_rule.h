#pragma once
// What one entry of the chat log looks like, and how the log stays bounded.
#include <cstddef>

#include "common/text.h"

namespace rapporta::chat {

// The longest candidate (old log plus new entry) that stays whole.
inline constexpr std::size_t kLogLimit = 60000;
// Trimming keeps at most this many of the candidate's last characters.
inline constexpr std::size_t kTrimTailLength = 50000;
// Written as the caret position after every append: past any log the rules
// allow, so the box puts the caret at the end.
inline constexpr int kCaretEnd = 65534;
// Every entry starts on a fresh line after an empty one.
inline constexpr TextView kEntrySeparator = u"\r\n\r\n";

struct LocalTime {
  int hour;    // 0-23
  int minute;  // 0-59
};

// "[HH:MM]" when showTime, else empty.
Text TimePrefix(bool showTime, LocalTime now);

// LogEntry: separator + prefix + text, the text as given except that a NUL
// becomes a space: the log box ends its text at a NUL, which would cut the
// entry short and part the box from the rule's lengths.
Text LogEntry(TextView prefix, TextView text);

// Applies the limit to a candidate log: a candidate of at most kLogLimit
// characters stays whole; a longer one keeps its last kTrimTailLength
// characters from just after their first CR LF. When the tail has no CR LF the
// whole tail is kept, starting one character later if it would otherwise
// begin with the second half of a surrogate pair.
void TrimLog(Text& candidate);

// SetChatText's rule as text: log = trim(log + entry).
void AppendEntry(Text& log, TextView entry);

}  // namespace rapporta::chat
