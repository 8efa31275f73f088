#include "save/file_system_win.h"

#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include "common/bstr_win.h"
#include "common/check_win.h"
#include "common/text_win.h"

namespace rapporta::save {
namespace {

using Microsoft::WRL::ComPtr;

class ScriptingFileSystem : public FileSystem {
 public:
  ScriptingFileSystem() {
    CLSID clsid{};
    CheckHr(CLSIDFromProgID(L"Scripting.FileSystemObject", &clsid),
            "CLSIDFromProgID(Scripting.FileSystemObject)");
    CheckHr(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                             IID_PPV_ARGS(&object_)),
            "CoCreateInstance(Scripting.FileSystemObject)");
  }

  bool FileExists(TextView path) override {
    wchar_t name[] = L"FileExists";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    CheckHr(object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id),
            "FileSystemObject.GetIDsOfNames(FileExists)");
    const Bstr argumentText(path);
    VARIANT argument = LentString(argumentText);
    DISPPARAMS parameters{&argument, nullptr, 1, 0};
    Variant result;
    CheckHr(object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                            result.Get(), nullptr, nullptr),
            "FileSystemObject.FileExists");
    CheckHr(VariantChangeType(result.Get(), result.Get(), 0, VT_BOOL),
            "FileSystemObject.FileExists result");
    return result.Get()->boolVal != VARIANT_FALSE;
  }

 private:
  ComPtr<IDispatch> object_;
};

}  // namespace

std::unique_ptr<FileSystem> CreateScriptingFileSystem() {
  return std::make_unique<ScriptingFileSystem>();
}

}  // namespace rapporta::save
