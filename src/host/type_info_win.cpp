#include "host/type_info_win.h"

#include "common/check_win.h"

namespace rapporta::host {
namespace {

using Microsoft::WRL::ComPtr;

// Type attributes and function descriptions are lent by the type
// information and must be handed back to it.
class TypeAttr {
 public:
  explicit TypeAttr(ITypeInfo& info) : info_(info) {
    CheckHr(info.GetTypeAttr(&attr_), "ITypeInfo.GetTypeAttr");
  }
  TypeAttr(const TypeAttr&) = delete;
  TypeAttr& operator=(const TypeAttr&) = delete;
  ~TypeAttr() { info_.ReleaseTypeAttr(attr_); }
  const TYPEATTR* operator->() const { return attr_; }

 private:
  ITypeInfo& info_;
  TYPEATTR* attr_ = nullptr;
};

class FuncDesc {
 public:
  FuncDesc(ITypeInfo& info, UINT index) : info_(info) {
    CheckHr(info.GetFuncDesc(index, &desc_), "ITypeInfo.GetFuncDesc");
  }
  FuncDesc(const FuncDesc&) = delete;
  FuncDesc& operator=(const FuncDesc&) = delete;
  ~FuncDesc() { info_.ReleaseFuncDesc(desc_); }
  const FUNCDESC* operator->() const { return desc_; }

 private:
  ITypeInfo& info_;
  FUNCDESC* desc_ = nullptr;
};

}  // namespace

ComPtr<ITypeInfo> InterfaceTypeInfo(ITypeLib& library, REFIID iid) {
  ComPtr<ITypeInfo> info;
  CheckHr(library.GetTypeInfoOfGuid(iid, &info), "ITypeLib.GetTypeInfoOfGuid");
  bool dualDispatchView = false;
  {
    TypeAttr attr(*info.Get());
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

std::vector<MemberInfo> Members(ITypeInfo& info) {
  UINT count = 0;
  {
    TypeAttr attr(info);
    count = attr->cFuncs;
  }
  std::vector<MemberInfo> members;
  members.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    FuncDesc desc(info, i);
    members.push_back({desc->memid, static_cast<int>(desc->oVft / sizeof(void*))});
  }
  return members;
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
