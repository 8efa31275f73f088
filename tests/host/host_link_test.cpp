// The host link over real out-of-process COM, against the stand-in host; its
// event sink in process; and the event ids read in this process from the
// registered type library, which are the host's own, a registered library
// being used only when it is the very library the host reports.
#include <functional>

#include "common/bstr_win.h"
#include "host/echolink_host_win.h"
#include "host/event_ids_win.h"
#include "host/event_sink_win.h"
#include "host/host_app_win.h"
#include "host/type_info_win.h"
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

// Texts of every awkward shape, both ways, arrive as they were given: what
// the log and the box then make of them is the window's tests' part.
TEST_F(HostLink, TextsOfEveryShapeCrossWholeBothWays) {
  Text oneLine, inLines;  // 200000 characters, in one line and in lines of 98
  while (oneLine.size() < 200000) oneLine += char16_t(u'0' + oneLine.size() % 43);
  while (inLines.size() < 200000) inLines += Text(98, u'a' + inLines.size() / 100 % 26) + u"\r\n";
  const std::vector<Text> texts = {
      u"", u"\r\nfirst\r\n\r\nsecond\r\n", u"a\rb\nc\n\rd",
      Text(u"before\0after", 12),  // a NUL once cut the text short
      Text(u"hi") + char16_t{0xD83D},  // lone halves of pairs, a pair reversed
      Text{char16_t{0xDE00}, u'l', u'o', char16_t{0xDE00}, char16_t{0xD83D}},
      u"73 \U0001F600\U0001F44D\U0001F3FD ＪＡ１ＡＢＣ こんにちは", inLines, oneLine};
  for (const Text& text : texts) {
    standin_.Inject(text);
    host_->SendChat(text);
  }
  EXPECT_TRUE(PumpUntil([&] { return recorder_.events.size() >= texts.size(); }));
  EXPECT_TRUE(recorder_.events == texts) << "received";
  EXPECT_TRUE(standin_.SentLines() == texts) << "sent";
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

constexpr DISPID kChat = 0x60000000, kClosing = 0x60000001;

// The event sink, in process; how it answers QueryInterface, the tests
// above show through COM. (The COM object base under it once kept a
// reference too many: the tests of the real programs see the host end.)
TEST(EventSink, DeliversByItsDispatchIdsAndByTheTable) {
  EventRecorder recorder;
  auto sink = MakeComObject<host::EventSink>(recorder, kChat, kClosing);

  Bstr text(u"text"), throwing(u"throw");
  const VARIANT byValue = LentString(text), failing = LentString(throwing);
  BSTR value = text.Get();
  VARIANT byRef{};
  byRef.vt = VT_BSTR | VT_BYREF;  // as some hosts pass it
  byRef.pbstrVal = &value;
  const struct {
    DISPID member;
    std::vector<VARIANT> args;
    HRESULT result;
  } invokes[] = {
      {kChat, {byValue}, S_OK},
      {kChat, {byRef}, S_OK},
      {kClosing, {}, S_OK},
      // Not the ids 1 and 2 some hosts use: those are not ours.
      {1, {byValue}, DISP_E_MEMBERNOTFOUND},
      {2, {}, DISP_E_MEMBERNOTFOUND},
      {kChat, {}, DISP_E_BADPARAMCOUNT},
      {kClosing, {byValue}, DISP_E_BADPARAMCOUNT},
      // A failing handler becomes the call's result.
      {kChat, {failing}, static_cast<HRESULT>(0x80041111)},
  };
  for (auto c : invokes) {
    DISPPARAMS params{c.args.data(), nullptr, static_cast<UINT>(c.args.size()), 0};
    EXPECT_EQ(sink->Invoke(c.member, IID_NULL, 0, DISPATCH_METHOD, &params, 0, 0, 0), c.result)
        << "member " << c.member << ", " << c.args.size() << " arguments";
  }
  EXPECT_EQ(sink->ChatTextReceived(text.Get()), S_OK);
  EXPECT_EQ(sink->ChatTextReceived(nullptr), S_OK);  // a null BSTR is empty text
  EXPECT_EQ(sink->Closing(), S_OK);
  EXPECT_EQ(recorder.events,
            (std::vector<Text>{u"text", u"text", u"<closing>", u"text", u"", u"<closing>"}));
}

using EventIds = StandinTest;

TEST_F(EventIds, AreTheHostsOwnAndTheRegisteredLibraryServesOnlyWhenItIsTheHosts) {
  Microsoft::WRL::ComPtr<IHostApp> app;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(CLSID_HostApp, nullptr, CLSCTX_LOCAL_SERVER, IID_PPV_ARGS(&app)));
  const auto library = host::ContainingTypeLib(*app.Get());
  host::LibAttr attr(*library.Get());
  ASSERT_HRESULT_SUCCEEDED(library->GetLibAttr(attr.Put()));

  const host::EventIds fromHost = host::EventIdsIn(*library.Get());
  EXPECT_NE(fromHost.chatTextReceived, fromHost.closing);
  EXPECT_EQ(host::RegisteredEventIds(*attr), fromHost);
  const host::EventIds ids = host::EventDispIds(*app.Get());
  EXPECT_EQ(ids, fromHost);
  // The dispinterface run is that only if the client, reading the ids as it
  // does, finds the dispinterface's 9 and 5 (the dual library has the
  // compiler's): what reaches its branch for such an interface.
  EXPECT_EQ(ids.chatTextReceived == 9 && ids.closing == 5, RunName() == L"dispinterface");

  const struct {
    const char* what;
    void (*change)(TLIBATTR&);
  } others[] = {
      // The registry falls back to the neutral locale that it does have.
      {"another locale", [](TLIBATTR& a) { a.lcid = MAKELCID(0x0409, SORT_DEFAULT); }},
      {"a later minor version", [](TLIBATTR& a) { ++a.wMinorVerNum; }},
      {"another major version", [](TLIBATTR& a) { ++a.wMajorVerNum; }},
      {"another library", [](TLIBATTR& a) { a.guid.Data1 ^= 1; }},
  };
  for (const auto& other : others) {
    TLIBATTR changed = *attr;
    other.change(changed);
    EXPECT_FALSE(host::RegisteredEventIds(changed)) << other.what;
  }
}

}  // namespace
}  // namespace rapporta::test
