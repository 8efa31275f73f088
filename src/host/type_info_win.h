#pragma once
// Reading the host's type information: where its members sit and which
// dispatch ids they have, instead of assuming them.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

namespace rapporta::host {

// What type information or a type library lends (attributes, function
// descriptions) and must be handed back to the lender.
template <typename Lender, typename T, auto Release>
class Lent {
 public:
  explicit Lent(Lender& lender) : lender_(lender) {}
  Lent(const Lent&) = delete;
  Lent& operator=(const Lent&) = delete;
  ~Lent() {
    if (value_) (lender_.*Release)(value_);
  }
  T** Put() { return &value_; }
  const T* operator->() const { return value_; }
  const T& operator*() const { return *value_; }

 private:
  Lender& lender_;
  T* value_ = nullptr;
};

using TypeAttr = Lent<ITypeInfo, TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using FuncDesc = Lent<ITypeInfo, FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;
using LibAttr = Lent<ITypeLib, TLIBATTR, &ITypeLib::ReleaseTLibAttr>;

// The type information of the interface iid in library, in its table
// (vtable) view even when the library lists it as dual.
Microsoft::WRL::ComPtr<ITypeInfo> InterfaceTypeInfo(ITypeLib& library, REFIID iid);

// The dispatch id of the interface's own member at index (inherited ones not
// counted), in the order the library declares them.
DISPID MemberDispId(ITypeInfo& info, UINT index);

// The type library an automation object comes from, as the object itself
// reports it.
Microsoft::WRL::ComPtr<ITypeLib> ContainingTypeLib(IDispatch& object);

}  // namespace rapporta::host
