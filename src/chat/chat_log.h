#pragma once
// The chat log as the window keeps it: the text lives in the log box (the user
// can change it there with the mouse, so it is read back, never mirrored), and
// entries that arrive in a burst are queued and reach the box as one update.
// Whatever reads or replaces the log sees the queued entries first, so the
// text is always exactly what appending them one by one would give.
#include <cstddef>
#include <vector>

#include "common/text.h"

namespace rapporta::chat {

// What the log needs of its text box.
class LogBox {
 public:
  virtual ~LogBox() = default;
  virtual std::size_t Length() const = 0;
  virtual Text Read() const = 0;
  // Both leave the caret at the end, scrolled into view.
  virtual void Replace(TextView text) = 0;
  virtual void Append(TextView text) = 0;
};

class ChatLog {
 public:
  explicit ChatLog(LogBox& box) : box_(box) {}

  // Queues a formed entry (separator, prefix and text). A queue that grows
  // past what the box could ever hold is flushed at once, so a flood cannot
  // pile up memory.
  void Add(Text entry);
  bool HasPending() const { return !pending_.empty(); }
  // Brings the box up to date: an append in place when no trim is due,
  // otherwise one replacement by the trimmed text.
  void Flush();
  // The log text with every queued entry applied.
  Text Read();
  // Empties the log, queued entries included.
  void Clear();

 private:
  LogBox& box_;
  std::vector<Text> pending_;
  std::size_t pendingLength_ = 0;
};

}  // namespace rapporta::chat
