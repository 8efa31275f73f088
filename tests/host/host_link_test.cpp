// The host link over real out-of-process COM, against the stand-in host; its
// event sink in process; and the event ids read in this process from the
// registered type library, which are the host's own, a registered library
// being used only when it is the very library the host reports.
#include <functional>
#include <tuple>

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

// Texts of every awkward shape, both ways, arrive as they were given: what
// the log and the box then make of them is the window's tests' part.
TEST_F(HostLink, ReadsTheCallsignAfreshAndTextsOfEveryShapeCrossWholeBothWaysByBothPaths) {
  for (const Text callsign : {u"", u"JA1ZZZ/ペ"}) {
    CheckHr(standin_->put_Callsign(Bstr(callsign).Get()), "Callsign");
    EXPECT_EQ(host_->LocalCallsign(), callsign);
  }
  EXPECT_EQ(standin_.Read(&IStandinControl::get_StationsAlive), 0) << "released right away";

  std::vector<Text> sent = {u"hello\tこんにちは"}, received = {u"meanwhile"};
  // An event the host raises inside the call arrives before the call returns.
  CheckHr(standin_->RaiseInNextSend(Bstr(u"meanwhile").Get()), "RaiseInNextSend");
  host_->SendChat(sent[0]);
  EXPECT_EQ(recorder_.events, received);

  // How long a text is, COM does not mind: how the log lays it out does.
  Text longText;
  while (longText.size() < 200000) longText += char16_t(u'0' + longText.size() % 43);
  const std::vector<Text> texts = {
      u"", u"\r\nfirst\r\n\r\nsecond\r\n", u"a\rb\nc\n\rd",
      Text(u"before\0after", 12),  // a NUL once cut the text short
      Text(u"hi") + char16_t{0xD83D},  // lone halves of pairs, a pair reversed
      Text{char16_t{0xDE00}, u'l', u'o', char16_t{0xDE00}, char16_t{0xD83D}},
      u"73 \U0001F600\U0001F44D\U0001F3FD ＪＡ１ＡＢＣ こんにちは", longText};
  for (const Text& text : texts) {
    standin_.Inject(text);
    host_->SendChat(text);
  }
  sent.insert(sent.end(), texts.begin(), texts.end());
  received.insert(received.end(), texts.begin(), texts.end());
  CheckHr(standin_->put_EventsByTable(VARIANT_TRUE), "EventsByTable");
  standin_.Inject(u"by table");
  CheckHr(standin_->RaiseClosing(), "RaiseClosing");
  received.insert(received.end(), {u"by table", u"<closing>"});
  // The host's calls return once their events are queued; the window's loop
  // delivers them, in order.
  EXPECT_TRUE(PumpUntil([&] { return recorder_.events.size() >= received.size(); }));
  EXPECT_TRUE(recorder_.events == received) << "received";
  EXPECT_TRUE(standin_.SentLines() == sent) << "sent";
}

TEST_F(HostLink, FailuresNameTheOperationAndCarryTheHostsCodeAtOnce) {
  const HRESULT refused = static_cast<HRESULT>(0x80041234);
  const std::tuple<const char*, std::function<void()>, HRESULT> cases[] = {
      {"HostApp.SendChat", [&] { host_->SendChat(u"x"); }, refused},
      {"HostApp.LocalStation", [&] { host_->LocalCallsign(); }, refused},
      {"CoCreateInstance(HostApp)", [&] { host::CreateHostApp(recorder_); }, refused},
      // Last: the host vanishes.
      {"HostApp.SendChat", [&] { host_->SendChat(u"into the void"); },
       HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)},
  };
  for (const auto& [operation, call, code] : cases) {
    if (code == refused) {
      CheckHr(standin_->FailNextCall(refused), "FailNextCall");
    } else {
      CheckHr(standin_->Vanish(), "Vanish");
      ASSERT_TRUE(standin_.Program().Ended(10000));
    }
    const DWORD start = GetTickCount();
    try {
      call();
      ADD_FAILURE() << operation << " did not fail";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.Operation(), operation);
      EXPECT_EQ(failure.Code(), code) << operation;
    }
    EXPECT_LT(GetTickCount() - start, 2000u) << operation;
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
  const std::tuple<DISPID, std::vector<VARIANT>, HRESULT> invokes[] = {
      // By value, the host link's test shows over COM.
      {kChat, {byRef}, S_OK},
      {kClosing, {}, S_OK},
      // Not the ids 1 and 2 some hosts use: those are not ours.
      {1, {byValue}, DISP_E_MEMBERNOTFOUND},
      {kChat, {}, DISP_E_BADPARAMCOUNT},
      // A failing handler becomes the call's result.
      {kChat, {failing}, static_cast<HRESULT>(0x80041111)},
  };
  for (auto [member, args, result] : invokes) {
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    EXPECT_EQ(sink->Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &params, 0, 0, 0), result)
        << "member " << member << ", " << args.size() << " arguments";
  }
  // Through the table (as the host link's test does over COM): a null BSTR
  // is empty text.
  EXPECT_EQ(sink->ChatTextReceived(nullptr), S_OK);
  EXPECT_EQ(recorder.events, (std::vector<Text>{u"text", u"<closing>", u""}));
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
  EXPECT_EQ(host::RegisteredEventIds(*attr), fromHost);
  // That the client's ids are right, the events by Invoke in the host
  // link's test show, in both runs.
  const host::EventIds ids = host::EventDispIds(*app.Get());
  // The dispinterface run is that only if the client, reading the ids as it
  // does, finds the dispinterface's 9 and 5 (the dual library has the
  // compiler's): what reaches its branch for such an interface.
  EXPECT_EQ(ids.chatTextReceived == 9 && ids.closing == 5, RunName() == L"dispinterface");

  // Not another locale, though the registry falls back from it to the
  // neutral one it has; nor a later minor version (or any version or library
  // it does not have).
  TLIBATTR other = *attr;
  other.lcid = MAKELCID(0x0409, SORT_DEFAULT);
  EXPECT_FALSE(host::RegisteredEventIds(other));
  other = *attr;
  ++other.wMinorVerNum;
  EXPECT_FALSE(host::RegisteredEventIds(other));
}

}  // namespace
}  // namespace rapporta::test
