// The host link over real out-of-process COM, against the stand-in host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <functional>

#include "common/check_win.h"
#include "common/bstr_win.h"
#include "host/echolink_host_win.h"
#include "host/event_ids_win.h"
#include "host/host_app_win.h"
#include "standin_session_win.h"

namespace rapporta::testing {
namespace {

struct Recorder : host::HostEvents {
  void ChatTextReceived(TextView text) override { events.push_back(u"text:" + Text(text)); }
  void Closing() override { events.push_back(u"closing"); }
  std::vector<Text> events;
};

class HostLink : public ::testing::Test {
 protected:
  ComApartment apartment_;
  StandinSession standin_;
  Recorder recorder_;
};

TEST_F(HostLink, ReadsTheCallsignAfreshAndReleasesTheStationRightAway) {
  auto host = host::CreateHostApp(recorder_);
  ASSERT_TRUE(host);
  EXPECT_EQ(host->LocalCallsign(), u"N0CALL");
  EXPECT_EQ(standin_.StationsAlive(), 0);
  standin_.SetCallsign(u"");
  EXPECT_EQ(host->LocalCallsign(), u"");
  standin_.SetCallsign(u"JA1ZZZ/ペ");
  EXPECT_EQ(host->LocalCallsign(), u"JA1ZZZ/ペ");
  EXPECT_EQ(standin_.StationsAlive(), 0);
}

TEST_F(HostLink, SendsTextByValueAndReceivesEventsThroughBothPaths) {
  auto host = host::CreateHostApp(recorder_);
  ASSERT_TRUE(host);
  const Text line = u"hello\tこんにちは";
  host->SendChat(line);
  host->SendChat(u"");
  EXPECT_EQ(standin_.SentLines(), (std::vector<Text>{line, u""}));

  standin_.Inject(u"by Invoke");
  Check(standin_.Control().put_EventsByTable(VARIANT_TRUE), "EventsByTable");
  standin_.Inject(u"by table");
  Check(standin_.Control().RaiseClosing(), "RaiseClosing");
  EXPECT_EQ(recorder_.events,
            (std::vector<Text>{u"text:by Invoke", u"text:by table", u"closing"}));
}

// The dispinterface run is that only if the client, reading the event ids
// as it does, finds those of the dispinterface (the dual library has the
// compiler's): what reaches its branch for such an interface.
TEST_F(HostLink, TheClientFindsTheEventIdsItsRunRegistered) {
  Microsoft::WRL::ComPtr<IHostApp> app;
  Check(CoCreateInstance(__uuidof(HostApp), nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app)),
        "CoCreateInstance(HostApp)");
  const auto ids = host::EventDispIds(*app.Get());
  EXPECT_EQ(ids.chatTextReceived == 9 && ids.closing == 5, RunName() == L"dispinterface");
}

TEST_F(HostLink, EveryClientSharesOneObjectAndReleasingUnadvises) {
  auto host = host::CreateHostApp(recorder_);
  ASSERT_TRUE(host);
  auto second = host::CreateHostApp(recorder_);
  EXPECT_EQ(standin_.SinkCount(), 2);
  EXPECT_EQ(standin_.HostAppsAlive(), 1);
  host.reset();
  EXPECT_EQ(standin_.SinkCount(), 1);
  second.reset();
  EXPECT_EQ(standin_.SinkCount(), 0);
  EXPECT_EQ(standin_.HostAppsAlive(), 0);
  standin_.Inject(u"nobody listens");
  EXPECT_TRUE(recorder_.events.empty());
}

TEST_F(HostLink, FailuresNameTheOperationAndCarryTheHostsCode) {
  auto host = host::CreateHostApp(recorder_);
  ASSERT_TRUE(host);
  const HRESULT refused = static_cast<HRESULT>(0x80041234);
  struct Case {
    const char* operation;
    std::function<void()> call;
  };
  const Case cases[] = {
      {"HostApp.SendChat", [&] { host->SendChat(u"x"); }},
      {"HostApp.LocalStation", [&] { host->LocalCallsign(); }},
      {"CoCreateInstance(HostApp)", [&] { host::CreateHostApp(recorder_); }},
  };
  for (const auto& c : cases) {
    Check(standin_.Control().FailNextCall(refused), "FailNextCall");
    try {
      c.call();
      ADD_FAILURE() << c.operation << " did not fail";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Operation(), c.operation);
      EXPECT_EQ(failure.Code(), refused);
    }
  }
  EXPECT_TRUE(standin_.SentLines().empty());
  EXPECT_EQ(standin_.StationsAlive(), 0);
}

TEST_F(HostLink, TheHostEndsWhenItsLastClientLetsGo) {
  auto host = host::CreateHostApp(recorder_);
  ASSERT_TRUE(host);
  host->LocalCallsign();
  EXPECT_FALSE(standin_.ReleaseAndWaitForExit(500));  // the client still holds it
  host.reset();
  EXPECT_EQ(WaitForSingleObject(standin_.Process(), 5000), WAIT_OBJECT_0);
}

TEST_F(HostLink, AHostThatIsGoneFailsTheNextCallAtOnce) {
  auto host = host::CreateHostApp(recorder_);
  ASSERT_TRUE(host);
  Check(standin_.Control().Vanish(), "Vanish");
  ASSERT_EQ(WaitForSingleObject(standin_.Process(), 10000), WAIT_OBJECT_0);
  const DWORD start = GetTickCount();
  try {
    host->SendChat(u"into the void");
    ADD_FAILURE() << "SendChat to a vanished host succeeded";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.Operation(), "HostApp.SendChat");
    EXPECT_EQ(static_cast<std::uint32_t>(failure.Code()), 0x800706BAu);
  }
  EXPECT_LT(GetTickCount() - start, 2000u);
  host.reset();  // releasing a host that is gone must not fail or hang
}

}  // namespace
}  // namespace rapporta::testing
