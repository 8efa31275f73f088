#pragma once
// Reading the host's type information: where its members sit and which
// dispatch ids they have, instead of assuming them.
#include <windows.h>
#include <oaidl.h>
#include <wrl/client.h>

#include <vector>

namespace rapporta::host {

struct MemberInfo {
  DISPID dispId;
  // Table position counted from 0, the entries of IUnknown and IDispatch
  // included.
  int vtablePosition;
};

// The type information of the interface iid in library, in its table
// (vtable) view even when the library lists it as dual.
Microsoft::WRL::ComPtr<ITypeInfo> InterfaceTypeInfo(ITypeLib& library, REFIID iid);

// The interface's own members (inherited ones not counted), in the order the
// library declares them; a property with get and put appears once per
// accessor.
std::vector<MemberInfo> Members(ITypeInfo& info);

// The type library an automation object comes from, as the object itself
// reports it.
Microsoft::WRL::ComPtr<ITypeLib> ContainingTypeLib(IDispatch& object);

}  // namespace rapporta::host
