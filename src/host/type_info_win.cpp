#include "host/type_info_win.h"

#include "common/check_win.h"

namespace rapporta::host {
namespace {

using Microsoft::WRL::ComPtr;

// Type attributes and function descriptions are lent by the type
// information and must be handed back to it.
template <typename T, auto Release>
class Lent {
 public:
  explicit Lent(ITypeInfo& info) : info_(info) {}
  Lent(const Lent&) = delete;
  Lent& operator=(const Lent&) = delete;
  ~Lent() {
    if (value_) (info_.*Release)(value_);
  }
  T** Put() { return &value_; }
  const T* operator->() const { return value_; }

 private:
  ITypeInfo& info_;
  T* value_ = nullptr;
};

using TypeAttr = Lent<TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using FuncDesc = Lent<FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;

}  // namespace

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

std::vector<MemberInfo> Members(ITypeInfo& info) {
  UINT count = 0;
  {
    TypeAttr attr(info);
    CheckHr(info.GetTypeAttr(attr.Put()), "ITypeInfo.GetTypeAttr");
    count = attr->cFuncs;
  }
  std::vector<MemberInfo> members;
  members.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    FuncDesc desc(info);
    CheckHr(info.GetFuncDesc(i, desc.Put()), "ITypeInfo.GetFuncDesc");
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
