// The event sink and the COM object base, in process.
#include <gtest/gtest.h>

#include <vector>

#include "common/failure.h"
#include "common/bstr_win.h"
#include "host/event_sink_win.h"

namespace rapporta::testing {
namespace {

using host::EventSink;
using Microsoft::WRL::ComPtr;

constexpr DISPID kChat = 0x60000000;
constexpr DISPID kClosing = 0x60000001;

struct Recorder : host::HostEvents {
  void ChatTextReceived(TextView text) override {
    if (text == u"throw") throw Failure("handler", static_cast<std::int32_t>(0x80041111));
    events.push_back(Text(text));
  }
  void Closing() override { events.push_back(u"<closing>"); }
  std::vector<Text> events;
};

HRESULT Invoke(IDispatch& sink, DISPID member, std::vector<VARIANT> args) {
  DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  return sink.Invoke(member, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

VARIANT StringArg(BSTR text) {
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_BSTR;
  arg.bstrVal = text;
  return arg;
}

// An object of ours that tells when it ends.
class Probe final : public ComObject<IClassFactory> {
 public:
  explicit Probe(bool& ended) : ended_(ended) {}
  ~Probe() override { ended_ = true; }
  STDMETHODIMP CreateInstance(IUnknown*, REFIID, void**) override { return E_NOTIMPL; }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }

 private:
  bool& ended_;
};

TEST(ComObject, EndsWithItsLastReference) {
  bool ended = false;
  {
    auto probe = MakeComObject<Probe>(ended);
    ComPtr<IClassFactory> factory;
    ASSERT_HRESULT_SUCCEEDED(probe.As(&factory));
    probe.Reset();
    EXPECT_FALSE(ended);
  }
  EXPECT_TRUE(ended);
}

TEST(EventSink, AnswersTheEventInterfaceAndIDispatchAsOneObject) {
  Recorder recorder;
  {
    auto sink = MakeComObject<EventSink>(recorder, kChat, kClosing);
    ComPtr<IUnknown> unknown;
    ComPtr<IDispatch> dispatch;
    ComPtr<IHostAppEvents> events;
    ComPtr<IConnectionPoint> other;
    ASSERT_HRESULT_SUCCEEDED(sink.As(&unknown));
    ASSERT_HRESULT_SUCCEEDED(sink.As(&dispatch));
    ASSERT_HRESULT_SUCCEEDED(sink.As(&events));
    EXPECT_EQ(sink.As(&other), E_NOINTERFACE);
    EXPECT_EQ(static_cast<IDispatch*>(events.Get()), dispatch.Get());
    ComPtr<IUnknown> again;
    ASSERT_HRESULT_SUCCEEDED(events.As(&again));
    EXPECT_EQ(again.Get(), unknown.Get());
  }
}

TEST(EventSink, DeliversByTheDispatchIdsItWasGivenAndByTheTable) {
  Recorder recorder;
  auto sink = MakeComObject<EventSink>(recorder, kChat, kClosing);
  Bstr text(u"by value");
  EXPECT_EQ(Invoke(*sink.Get(), kChat, {StringArg(text.Get())}), S_OK);
  // By reference, as some hosts pass it.
  BSTR value = text.Get();
  VARIANT byRef;
  VariantInit(&byRef);
  byRef.vt = VT_BSTR | VT_BYREF;
  byRef.pbstrVal = &value;
  EXPECT_EQ(Invoke(*sink.Get(), kChat, {byRef}), S_OK);
  EXPECT_EQ(Invoke(*sink.Get(), kClosing, {}), S_OK);
  Bstr table(u"by table");
  EXPECT_EQ(sink->ChatTextReceived(table.Get()), S_OK);
  EXPECT_EQ(sink->ChatTextReceived(nullptr), S_OK);  // a null BSTR is empty text
  EXPECT_EQ(recorder.events,
            (std::vector<Text>{u"by value", u"by value", u"<closing>", u"by table", u""}));

  // Not the ids 1 and 2 some hosts use: those are not ours.
  EXPECT_EQ(Invoke(*sink.Get(), 1, {StringArg(text.Get())}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(*sink.Get(), 2, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(Invoke(*sink.Get(), kChat, {}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Invoke(*sink.Get(), kClosing, {StringArg(text.Get())}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(recorder.events.size(), 5u);
}

TEST(EventSink, AFailingHandlerBecomesItsResultAndADetachedSinkDeliversNothing) {
  Recorder recorder;
  auto sink = MakeComObject<EventSink>(recorder, kChat, kClosing);
  Bstr failing(u"throw");
  EXPECT_EQ(sink->ChatTextReceived(failing.Get()), static_cast<HRESULT>(0x80041111));
  sink->Detach();
  Bstr late(u"late");
  EXPECT_EQ(Invoke(*sink.Get(), kChat, {StringArg(late.Get())}), S_OK);
  EXPECT_EQ(sink->Closing(), S_OK);
  EXPECT_TRUE(recorder.events.empty());
}

}  // namespace
}  // namespace rapporta::testing
