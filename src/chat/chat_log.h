#pragma once
// The chat log as the window keeps it: the text lives in the log box (the user
// can change it there with the mouse, so it is read back, never mirrored), and
// entries that arrive in a burst are queued and reach the box as one update.
// Whatever reads or replaces the log sees the queued entries first, so the
// text is always exactly what appending them one by one would give.
#include <cstddef>
#include <limits>
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
  // Drops the first count characters and appends text, in one update. A box
  // that can cut its head in place does so: rewriting a long text costs far
  // more than changing its two ends.
  virtual void DropFrontAndAppend(std::size_t count, TextView text);
};

class ChatLog {
 public:
  explicit ChatLog(LogBox& box) : box_(box) {}

  // Queues a formed entry (separator, prefix and text). A queue that grows
  // past what the box could ever hold is flushed at once, so a flood cannot
  // pile up memory.
  void Add(Text entry);
  bool HasPending() const { return !pending_.empty(); }
  // Brings the box up to date in place: the trim only ever drops a head of
  // the old text and the queue, so the box loses its head and gains the
  // queue; only when the cut reaches into the queue is the text replaced.
  // At most about budget characters reach the box; the rest stays queued
  // for the next flush (a huge entry is laid out slowly by the box).
  void Flush(std::size_t budget = std::numeric_limits<std::size_t>::max());
  // The log text with every queued entry applied.
  Text Read();
  // Empties the log, queued entries included.
  void Clear();

 private:
  LogBox& box_;
  std::vector<Text> pending_;
  std::size_t pendingLength_ = 0;
};

// The last position at or before at that cuts text neither inside a CR LF
// pair nor inside a surrogate pair (at most one character earlier).
std::size_t SafeCut(TextView text, std::size_t at);

}  // namespace rapporta::chat
