#include "chat/chat_log.h"

#include "chat/log_rule.h"

namespace rapporta::chat {

void ChatLog::Add(Text entry) {
  pendingLength_ += entry.size();
  pending_.push_back(std::move(entry));
  if (pendingLength_ > 2 * kLogLimit) Flush();
}

void ChatLog::Flush() {
  if (pending_.empty()) return;
  if (box_.Length() + pendingLength_ <= kLogLimit) {
    // No entry of the queue would be trimmed: the rule reduces to appending.
    Text joined;
    joined.reserve(pendingLength_);
    for (const Text& entry : pending_) joined.append(entry);
    box_.Append(joined);
  } else {
    Text log = box_.Read();
    for (const Text& entry : pending_) AppendEntry(log, entry);
    box_.Replace(log);
  }
  pending_.clear();
  pendingLength_ = 0;
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
