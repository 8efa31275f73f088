#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "chat/key_rules.h"
#include "chat/sending.h"
#include "common/failure.h"
#include "connection/startup.h"

namespace rapporta {
namespace {

// Every step either side takes, in order, as readable words.
using Steps = std::vector<std::string>;

std::string Narrow(TextView text) { return std::string(text.begin(), text.end()); }

class FakeHost : public host::Host {
 public:
  explicit FakeHost(Steps& steps) : steps_(steps) {}
  Text callsign = u"N0CALL";
  std::function<void()> duringSend;
  bool failSend = false;
  bool failCallsign = false;
  Text LocalCallsign() override {
    steps_.push_back("callsign");
    if (failCallsign) throw Failure("Callsign", -2147023174);
    return callsign;
  }
  void SendChat(TextView text) override {
    steps_.push_back("send " + Narrow(text));
    if (failSend) throw Failure("SendChat", -2147023174);
    if (duringSend) duringSend();
  }

 private:
  Steps& steps_;
};

class FakeStartupWindow : public connection::StartupWindow {
 public:
  Steps steps;
  bool another = false;
  bool giveHost = true;
  bool closeWhileConnecting = false;
  bool closeRequested = false;
  FakeHost host{steps};
  bool AnotherInstanceRunning() override {
    steps.push_back("instance?");
    return another;
  }
  void ShowMessage(TextView text, TextView title) override {
    steps.push_back("message " + Narrow(title));
    messageText = Text(text);
  }
  host::Host* ConnectHost() override {
    steps.push_back("connect");
    if (closeWhileConnecting) closeRequested = true;
    return giveHost ? &host : nullptr;
  }
  bool CloseRequested() const override { return closeRequested; }
  void SetCaption(TextView caption) override {
    steps.push_back("caption " + Narrow(caption));
  }
  void SetShowTime(bool on) override { steps.push_back(on ? "time on" : "time off"); }
  Text messageText;
};

TEST(Startup, ConnectsThenWritesTheCaptionThenSwitchesTheTimeOnLast) {
  FakeStartupWindow window;
  EXPECT_EQ(connection::Form_Load(window), connection::StartupOutcome::Connected);
  EXPECT_EQ(window.steps, (Steps{"instance?", "connect", "callsign",
                                 "caption Rapporta! <N0CALL> Ver 0.0.29", "time on"}));
}

TEST(Startup, EmptyCallsignGivesEmptyBrackets) {
  FakeStartupWindow window;
  window.host.callsign = u"";
  connection::Form_Load(window);
  EXPECT_EQ(window.steps.at(3), "caption Rapporta! <> Ver 0.0.29");
}

TEST(Startup, SecondInstanceTellsTheUserAndNeverCreatesTheHost) {
  FakeStartupWindow window;
  window.another = true;
  EXPECT_EQ(connection::Form_Load(window), connection::StartupOutcome::AlreadyRunning);
  EXPECT_EQ(window.steps, (Steps{"instance?", "message Rapporta"}));
  EXPECT_EQ(window.messageText, u"既に起動しています");
}

TEST(Startup, NoHostObjectLeavesTheCaptionAndTheTimeOff) {
  FakeStartupWindow window;
  window.giveHost = false;
  EXPECT_EQ(connection::Form_Load(window), connection::StartupOutcome::Unconnected);
  EXPECT_EQ(window.steps, (Steps{"instance?", "connect", "message missing!!"}));
  EXPECT_EQ(window.messageText, u"Launch EchoLink Faild!!");
}

TEST(Startup, HostClosingWhileConnectingStopsStartup) {
  FakeStartupWindow window;
  window.closeWhileConnecting = true;
  EXPECT_EQ(connection::Form_Load(window), connection::StartupOutcome::Closed);
  EXPECT_EQ(window.steps, (Steps{"instance?", "connect"}));
}

TEST(Startup, FailingCallsignReadPropagatesWithTheTimeStillOff) {
  FakeStartupWindow window;
  window.host.failCallsign = true;
  EXPECT_THROW(connection::Form_Load(window), Failure);
  EXPECT_EQ(window.steps, (Steps{"instance?", "connect", "callsign"}));
}

class FakeSendingWindow : public chat::SendingWindow {
 public:
  Steps steps;
  FakeHost host{steps};
  bool connected = true;
  Text input = u"hello";
  host::Host* Echo() override { return connected ? &host : nullptr; }
  Text InputText() override { return input; }
  void SetInputText(TextView text) override {
    steps.push_back("input=" + Narrow(text));
    input = Text(text);
  }
  void FocusInput() override { steps.push_back("focus"); }
  void SetChatText(TextView text) override { steps.push_back("log " + Narrow(text)); }
};

TEST(Sending, TellsTheHostFirstThenEchoesEmptiesAndFocuses) {
  FakeSendingWindow window;
  chat::SendChatMsg(window);
  EXPECT_EQ(window.steps,
            (Steps{"send hello", "callsign", "log N0CALL>hello", "input=", "focus"}));
}

TEST(Sending, EmptyInputIsSentAndEchoedAsCallsignAlone) {
  FakeSendingWindow window;
  window.input = u"";
  chat::SendChatMsg(window);
  EXPECT_EQ(window.steps, (Steps{"send ", "callsign", "log N0CALL>", "input=", "focus"}));
}

TEST(Sending, ReadsTheCallsignAfreshForEveryLine) {
  FakeSendingWindow window;
  chat::SendChatMsg(window);
  window.host.callsign = u"JA1ZZZ";
  window.input = u"again";
  chat::SendChatMsg(window);
  EXPECT_EQ(window.steps.at(7), "log JA1ZZZ>again");
}

TEST(Sending, LineReceivedInsideSendChatLandsBeforeTheEcho) {
  FakeSendingWindow window;
  window.host.duringSend = [&] {
    window.SetChatText(u"incoming");
    window.input = u"edited";  // the echo reads the input again
  };
  chat::SendChatMsg(window);
  EXPECT_EQ(window.steps, (Steps{"send hello", "log incoming", "callsign", "log N0CALL>edited",
                                 "input=", "focus"}));
}

TEST(Sending, FailedSendLeavesLogAndInputAlone) {
  FakeSendingWindow window;
  window.host.failSend = true;
  EXPECT_THROW(chat::SendChatMsg(window), Failure);
  EXPECT_EQ(window.steps, (Steps{"send hello"}));
  EXPECT_EQ(window.input, u"hello");
}

TEST(Sending, WithoutHostNothingHappens) {
  FakeSendingWindow window;
  window.connected = false;
  chat::SendChatMsg(window);
  EXPECT_TRUE(window.steps.empty());
}

TEST(KeyRules, LogBoxLetsOnlyCopyThroughAndEscFocusesTheInput) {
  using chat::LogKeyAction;
  EXPECT_EQ(chat::LogKeyDown(67, chat::kCtrlBit), LogKeyAction::Pass);
  EXPECT_EQ(chat::LogKeyDown(67, chat::kCtrlBit | chat::kShiftBit), LogKeyAction::Cancel);
  EXPECT_EQ(chat::LogKeyDown(67, 0), LogKeyAction::Cancel);
  EXPECT_EQ(chat::LogKeyDown(27, 0), LogKeyAction::FocusInput);
  EXPECT_EQ(chat::LogKeyDown(27, chat::kShiftBit), LogKeyAction::FocusInput);
  for (int key : {65, 46, 37, 38, 39, 40, 33, 34, 17, 86, 88, 13, 8}) {
    EXPECT_EQ(chat::LogKeyDown(key, 0), LogKeyAction::Cancel) << key;
    EXPECT_EQ(chat::LogKeyDown(key, chat::kCtrlBit), LogKeyAction::Cancel) << key;
  }
  EXPECT_TRUE(chat::LogKeepsChar(3, true));
  EXPECT_FALSE(chat::LogKeepsChar(3, false)) << "Ctrl+Shift+C types U+0003 too";
  for (char16_t c : {u'a', u'\r', u'\x16', u'\x18', u'\x1a', u'\x1b', u'\b', u'あ'}) {
    EXPECT_FALSE(chat::LogKeepsChar(c, true)) << static_cast<int>(c);
    EXPECT_FALSE(chat::LogKeepsChar(c, false)) << static_cast<int>(c);
  }
}

TEST(KeyRules, TimeSwitchIsOnWhenCheckedOrGrayed) {
  EXPECT_FALSE(chat::ShowTimeFromCheck(0));
  EXPECT_TRUE(chat::ShowTimeFromCheck(1));
  EXPECT_TRUE(chat::ShowTimeFromCheck(2));
}

}  // namespace
}  // namespace rapporta
