#include "chat/chat_log.h"

#include <algorithm>

#include "chat/log_rule.h"

namespace rapporta::chat {

namespace {

// Keeps the first budget characters or so of text and returns the rest.
Text SplitOff(Text& text, std::size_t budget) {
  if (text.size() <= budget) return Text();
  // Always some progress, even on a budget smaller than one character, and
  // never through a CR LF or a surrogate pair.
  const std::size_t cut =
      std::max(SafeCut(text, budget), SafeCut(text, std::min<std::size_t>(2, text.size())));
  Text rest = text.substr(cut);
  text.resize(cut);
  return rest;
}

}  // namespace

std::size_t SafeCut(TextView text, std::size_t at) {
  if (at == 0 || at >= text.size()) return at;
  const char16_t before = text[at - 1];
  const bool splitsLineBreak = before == u'\r' && text[at] == u'\n';
  const bool splitsCharacter = before >= 0xD800 && before <= 0xDBFF;
  return splitsLineBreak || splitsCharacter ? at - 1 : at;
}

void LogBox::DropFrontAndAppend(std::size_t count, TextView text) {
  Text log = Read();
  log.erase(0, count).append(text);
  Replace(log);
}

void ChatLog::Add(Text entry) {
  pendingLength_ += entry.size();
  pending_.push_back(std::move(entry));
  if (pendingLength_ > 2 * kLogLimit) Flush();
}

void ChatLog::Flush(std::size_t budget) {
  if (pending_.empty()) return;
  Text rest;  // beyond this flush's budget
  if (box_.Length() + pendingLength_ <= kLogLimit) {
    // No entry of the queue would be trimmed: the rule reduces to appending.
    Text joined;
    joined.reserve(pendingLength_);
    for (const Text& entry : pending_) joined.append(entry);
    rest = SplitOff(joined, budget);
    box_.Append(joined);
  } else {
    Text log = box_.Read();
    const std::size_t oldLength = log.size();
    for (const Text& entry : pending_) AppendEntry(log, entry);
    // Trimming entry by entry leaves a tail of old text + queue.
    const std::size_t cut = oldLength + pendingLength_ - log.size();
    if (cut <= oldLength) {
      Text added(TextView(log).substr(oldLength - cut));
      rest = SplitOff(added, budget);
      box_.DropFrontAndAppend(cut, added);
    } else {
      rest = SplitOff(log, budget);
      box_.Replace(log);
    }
  }
  pending_.clear();
  pendingLength_ = 0;
  // The rest is the end of a log already trimmed: appending it is exact,
  // and the rule leaves it whole if later entries come first.
  if (!rest.empty()) Add(std::move(rest));
}

Text ChatLog::Read() {
  Flush();
  return box_.Read();
}

void ChatLog::Clear() {
  pending_.clear();
  pendingLength_ = 0;
  box_.Replace(Text());
}

}  // namespace rapporta::chat
