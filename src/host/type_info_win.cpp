#include "host/type_info_win.h"

#include "common/check_win.h"

namespace rapporta::host {

using Microsoft::WRL::ComPtr;

ComPtr<ITypeInfo> InterfaceTypeInfo(ITypeLib& library, REFIID iid) {
  ComPtr<ITypeInfo> info;
  CheckHr(library.GetTypeInfoOfGuid(iid, &info), "ITypeLib.GetTypeInfoOfGuid");
  bool dualDispatchView = false;
  {
    TypeAttr attr(*info.Get());
    CheckHr(info->GetTypeAttr(attr.Put()), "ITypeInfo.GetTypeAttr");
    dualDispatchView = attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL);
  }
  if (dualDispatchView) {
    // Index -1 of a dual interface's dispatch view is its table view.
    HREFTYPE table = 0;
    CheckHr(info->GetRefTypeOfImplType(static_cast<UINT>(-1), &table),
            "ITypeInfo.GetRefTypeOfImplType");
    ComPtr<ITypeInfo> tableInfo;
    CheckHr(info->GetRefTypeInfo(table, &tableInfo), "ITypeInfo.GetRefTypeInfo");
    return tableInfo;
  }
  return info;
}

DISPID MemberDispId(ITypeInfo& info, UINT index) {
  FuncDesc desc(info);
  CheckHr(info.GetFuncDesc(index, desc.Put()), "ITypeInfo.GetFuncDesc");
  return desc->memid;
}

ComPtr<ITypeLib> ContainingTypeLib(IDispatch& object) {
  ComPtr<ITypeInfo> info;
  CheckHr(object.GetTypeInfo(0, LOCALE_USER_DEFAULT, &info), "IDispatch.GetTypeInfo");
  ComPtr<ITypeLib> library;
  UINT index = 0;
  CheckHr(info->GetContainingTypeLib(&library, &index), "ITypeInfo.GetContainingTypeLib");
  return library;
}

}  // namespace rapporta::host
