// The host link over real out-of-process COM, against the stand-in host.
#include <functional>

#include "common/bstr_win.h"
#include "host/host_app_win.h"
#include "processes_win.h"

namespace rapporta::test {
namespace {

class HostLink : public StandinTest {
 protected:
  void SetUp() override { ASSERT_TRUE(host_ = host::CreateHostApp(recorder_)); }
  EventRecorder recorder_;
  std::unique_ptr<host::Host> host_;
};

TEST_F(HostLink, SendsAndReadsTheCallsignAfreshAndReceivesEventsThroughBothPaths) {
  EXPECT_EQ(host_->LocalCallsign(), u"N0CALL");
  for (const Text callsign : {u"", u"JA1ZZZ/ペ"}) {
    CheckHr(standin_->put_Callsign(Bstr(callsign).Get()), "Callsign");
    EXPECT_EQ(host_->LocalCallsign(), callsign);
  }
  EXPECT_EQ(standin_.Read(&IStandinControl::get_StationsAlive), 0) << "released right away";

  const Text line = u"hello\tこんにちは";
  host_->SendChat(line);
  // An event the host raises inside the call arrives before the call returns.
  CheckHr(standin_->RaiseInNextSend(Bstr(u"meanwhile").Get()), "RaiseInNextSend");
  host_->SendChat(u"");
  EXPECT_EQ(standin_.SentLines(), (std::vector<Text>{line, u""}));
  EXPECT_EQ(recorder_.events, std::vector<Text>{u"meanwhile"});

  standin_.Inject(u"by Invoke");
  CheckHr(standin_->put_EventsByTable(VARIANT_TRUE), "EventsByTable");
  standin_.Inject(u"by table");
  CheckHr(standin_->RaiseClosing(), "RaiseClosing");
  // The host's calls return once their events are queued; the window's loop
  // delivers them, in order.
  PumpUntil([&] { return recorder_.events.size() >= 4; });
  EXPECT_EQ(recorder_.events, (std::vector<Text>{u"meanwhile", u"by Invoke",
                                                 u"by table", u"<closing>"}));
}

TEST_F(HostLink, FailuresNameTheOperationAndCarryTheHostsCodeAtOnce) {
  const HRESULT refused = static_cast<HRESULT>(0x80041234);
  const struct {
    const char* operation;
    std::function<void()> call;
    HRESULT code;
  } cases[] = {
      {"HostApp.SendChat", [&] { host_->SendChat(u"x"); }, refused},
      {"HostApp.LocalStation", [&] { host_->LocalCallsign(); }, refused},
      {"CoCreateInstance(HostApp)", [&] { host::CreateHostApp(recorder_); }, refused},
      // Last: the host vanishes.
      {"HostApp.SendChat", [&] { host_->SendChat(u"into the void"); },
       HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)},
  };
  for (const auto& c : cases) {
    if (c.code == refused) {
      CheckHr(standin_->FailNextCall(refused), "FailNextCall");
    } else {
      EXPECT_TRUE(standin_.SentLines().empty());
      EXPECT_EQ(standin_.Read(&IStandinControl::get_StationsAlive), 0);
      CheckHr(standin_->Vanish(), "Vanish");
      ASSERT_TRUE(standin_.Program().Ended(10000));
    }
    const DWORD start = GetTickCount();
    try {
      c.call();
      ADD_FAILURE() << c.operation << " did not fail";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Operation(), c.operation);
      EXPECT_EQ(failure.Code(), c.code) << c.operation;
    }
    EXPECT_LT(GetTickCount() - start, 2000u) << c.operation;
  }
  host_.reset();  // releasing a host that is gone must not fail or hang
}

}  // namespace
}  // namespace rapporta::test
