#pragma once
// A COM object's reference count and QueryInterface, written once for the
// objects this program implements itself (the event sink, and the stand-in
// host's objects). Objects are made with MakeComObject and held in ComPtr.
#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <tuple>
#include <type_traits>
#include <utility>

namespace rapporta {

template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject() = default;
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown)) {
      *out = static_cast<IUnknown*>(static_cast<First*>(this));
    } else if (iid == __uuidof(IDispatch) && Dispatch() != nullptr) {
      *out = Dispatch();
    } else if (!(Answer<Interfaces>(iid, out) || ...)) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    // The one place an object of ours ends: its last reference is gone.
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() = default;

 private:
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;

  template <typename I>
  bool Answer(REFIID iid, void** out) {
    if (iid != __uuidof(I)) return false;
    *out = static_cast<I*>(this);
    return true;
  }

  // A dual interface answers IDispatch too: the first one listed, the only
  // one any object here has.
  IDispatch* Dispatch() {
    if constexpr (std::is_base_of_v<IDispatch, First>) {
      return static_cast<First*>(this);
    } else {
      return nullptr;
    }
  }

  std::atomic<ULONG> references_{0};
};

// Makes an object whose one reference the returned pointer holds. The
// object starts with none and the pointer takes it: MinGW's ComPtr::Attach
// adds a reference where Microsoft's does not, so Attach is no use here.
template <typename T, typename... Args>
Microsoft::WRL::ComPtr<T> MakeComObject(Args&&... args) {
  return Microsoft::WRL::ComPtr<T>(new T(std::forward<Args>(args)...));
}

}  // namespace rapporta
