// The event sink, in process. (The COM object base under it once kept a
// reference too many: the fault tests see the host end.)
#include "common/bstr_win.h"
#include "host/event_sink_win.h"
#include "processes_win.h"

namespace rapporta::test {
namespace {

constexpr DISPID kChat = 0x60000000, kClosing = 0x60000001;

// (How it answers QueryInterface, the host link's tests show through COM.)
TEST(EventSink, DeliversByItsDispatchIdsAndByTheTableAndNothingOnceDetached) {
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
  // Once detached it delivers nothing, and still answers.
  sink->Detach();
  EXPECT_EQ(sink->ChatTextReceived(text.Get()), S_OK);
  EXPECT_EQ(sink->Closing(), S_OK);
  EXPECT_EQ(recorder.events,
            (std::vector<Text>{u"text", u"text", u"<closing>", u"text", u"", u"<closing>"}));
}

}  // namespace
}  // namespace rapporta::test
