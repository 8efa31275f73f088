// How the queued log reaches its box: a burst as one append, a trim as a cut
// of the box's head in place. That the text always stays the rule's, and
// that a budgeted flush keeps to its budget and never parts a CR LF or a
// character, whatever comes, is the fuzzer's job.
#include "chat/chat_log.h"

#include <gtest/gtest.h>

#include "chat/log_rule.h"
#include "recording_box.h"

namespace rapporta::test {
namespace {

using namespace chat;

// After the burst the box is filled near its limit, as the mouse could, and
// the log builds on that.
TEST(ChatLog, ABurstIsOneAppendAndATrimCutsTheHeadInPlaceUnlessItReachesTheQueue) {
  RecordingBox box;
  ChatLog log(box);
  for (int i = 0; i < 100; ++i) log.Add(LogEntry(u"", u"line"));
  EXPECT_EQ(box.calls, "");
  log.Flush();
  EXPECT_EQ(box.calls, "A");
  while (box.text.size() < 59990) box.text += u"\r\n" + Text(28, u'o');
  box.text.resize(59990);
  // The second entry alone outgrows the trim's tail.
  for (const Text& entry :
       {LogEntry(u"[09:05]", u"one more line"), LogEntry(u"", Text(55000, u'n'))}) {
    log.Add(entry);
    log.Flush();
  }
  EXPECT_EQ(box.calls, "AIR");
  // A flood never piles up: past what the box could hold it is flushed.
  for (int i = 0; i < 10; ++i) log.Add(LogEntry(u"", Text(30000, u'x')));
  EXPECT_GT(box.calls.size(), 3u);
}

}  // namespace
}  // namespace rapporta::test
