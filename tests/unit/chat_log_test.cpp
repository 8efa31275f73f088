#include "chat/chat_log.h"

#include <gtest/gtest.h>

#include "chat/log_rule.h"

namespace rapporta::chat {
namespace {

// A text box that counts what it was asked to do.
class RecordingBox : public LogBox {
 public:
  Text text;
  int appends = 0;
  int replaces = 0;
  std::size_t Length() const override { return text.size(); }
  Text Read() const override { return text; }
  void Replace(TextView t) override {
    ++replaces;
    text = Text(t);
  }
  void Append(TextView t) override {
    ++appends;
    text.append(t);
  }
};

TEST(ChatLog, BurstReachesTheBoxAsOneAppendWhenNothingIsTrimmed) {
  RecordingBox box;
  ChatLog log(box);
  for (int i = 0; i < 100; ++i) log.Add(LogEntry(u"", u"line"));
  EXPECT_EQ(box.text, u"") << "queued entries wait for the flush";
  log.Flush();
  EXPECT_EQ(box.appends, 1);
  EXPECT_EQ(box.replaces, 0);
  EXPECT_EQ(box.text.size(), 100u * 8u);
}

TEST(ChatLog, ReadAndClearSeeQueuedEntriesFirst) {
  RecordingBox box;
  ChatLog log(box);
  log.Add(LogEntry(u"", u"a"));
  EXPECT_EQ(log.Read(), u"\r\n\r\na");
  log.Add(LogEntry(u"", u"b"));
  log.Clear();
  log.Flush();
  EXPECT_EQ(box.text, u"");
  log.Add(LogEntry(u"", u"c"));
  EXPECT_EQ(log.Read(), u"\r\n\r\nc");
}

TEST(ChatLog, WhatTheUserChangedInTheBoxIsKept) {
  RecordingBox box;
  ChatLog log(box);
  log.Add(LogEntry(u"", u"one"));
  log.Flush();
  box.text = u"edited";
  log.Add(LogEntry(u"", u"two"));
  EXPECT_EQ(log.Read(), u"edited\r\n\r\ntwo");
}

TEST(ChatLog, FloodIsFlushedBeforeItPilesUp) {
  RecordingBox box;
  ChatLog log(box);
  for (int i = 0; i < 10; ++i) log.Add(LogEntry(u"", Text(30000, u'x')));
  EXPECT_FALSE(box.text.empty());
  EXPECT_LE(box.text.size(), kLogLimit);
}

}  // namespace
}  // namespace rapporta::chat
