#include "ui/failure_lines.h"

#include "common/failure.h"

namespace rapporta::ui {
namespace {

struct Operation {
  std::string_view name;
  Situation situation;
};

// Every operation the program names in a failure. A name missing here is
// reported as unexpected; the package test holds this table against the
// names in the code.
constexpr Operation kOperations[] = {
    // Start-up: starting the host and binding its events.
    {"CoCreateInstance(HostApp)", Situation::kConnecting},
    {"HostApp.QueryInterface(IConnectionPointContainer)", Situation::kConnecting},
    {"HostApp.FindConnectionPoint", Situation::kConnecting},
    {"HostApp.Advise", Situation::kConnecting},
    {"IDispatch.GetTypeInfo", Situation::kConnecting},
    {"ITypeInfo.GetContainingTypeLib", Situation::kConnecting},
    {"ITypeInfo.GetTypeAttr", Situation::kConnecting},
    {"ITypeInfo.GetRefTypeOfImplType", Situation::kConnecting},
    {"ITypeInfo.GetRefTypeInfo", Situation::kConnecting},
    {"ITypeInfo.GetFuncDesc", Situation::kConnecting},
    {"ITypeLib.GetLibAttr", Situation::kConnecting},
    {"ITypeLib.GetTypeInfoOfGuid", Situation::kConnecting},
    // At start-up and after every send.
    {"HostApp.LocalStation", Situation::kCallsign},
    {"HostStation.Callsign", Situation::kCallsign},
    {"HostApp.SendChat", Situation::kSending},
    // Saving: the dialog, the existing-file check, the file.
    {"GetSystemDirectory", Situation::kSaving},
    {"LoadLibrary(comdlg32)", Situation::kSaving},
    {"GetSaveFileNameW", Situation::kSaving},
    {"CommDlgExtendedError", Situation::kSaving},
    {"CLSIDFromProgID(Scripting.FileSystemObject)", Situation::kSaving},
    {"CoCreateInstance(Scripting.FileSystemObject)", Situation::kSaving},
    {"FileSystemObject.GetIDsOfNames(FileExists)", Situation::kSaving},
    {"FileSystemObject.FileExists", Situation::kSaving},
    {"FileSystemObject.FileExists result", Situation::kSaving},
    {"GetFullPathNameW", Situation::kSaving},
    {"WideCharToMultiByte", Situation::kSaving},
    {"CreateFileW", Situation::kSaving},
    {"WriteFile", Situation::kSaving},
    {"FlushFileBuffers", Situation::kSaving},
    {"ReplaceFileW", Situation::kSaving},
    {"MoveFileExW", Situation::kSaving},
    // The system's own calls, which fail when it runs short (of memory,
    // handles).
    {"CoInitializeEx", Situation::kUnexpected},
    {"CreateMutex", Situation::kUnexpected},
    {"RegisterClassEx", Situation::kUnexpected},
    {"CreateWindowEx", Situation::kUnexpected},
    {"CreateFont", Situation::kUnexpected},
    {"CreateEvent", Situation::kUnexpected},
    {"AdjustWindowRectEx", Situation::kUnexpected},
    {"AdjustWindowRectExForDpi", Situation::kUnexpected},
    {"SystemParametersInfo", Situation::kUnexpected},
    {"SystemParametersInfoForDpi", Situation::kUnexpected},
    {"GetClientRect", Situation::kUnexpected},
    {"SetWindowPos", Situation::kUnexpected},
    {"SetWindowText", Situation::kUnexpected},
    {"SetWindowSubclass", Situation::kUnexpected},
    {"SetTimer", Situation::kUnexpected},
    {"PostMessage", Situation::kUnexpected},
    {"MessageBox", Situation::kUnexpected},
    {"MessageBoxW", Situation::kUnexpected},
    {"MultiByteToWideChar", Situation::kUnexpected},
};

}  // namespace

Situation SituationOf(std::string_view operation, std::int32_t code, Stage stage) {
  Situation situation = Situation::kUnexpected;
  for (const Operation& known : kOperations) {
    if (known.name == operation) situation = known.situation;
  }
  // What start-up's end or a line already sent means to the user outweighs
  // why the host failed; the detail line still says it.
  if (situation == Situation::kCallsign && stage == Stage::kStartUp) return Situation::kConnecting;
  if (situation == Situation::kCallsign && stage == Stage::kRunning) {
    return Situation::kCallsignAfterSend;
  }
  if (situation == Situation::kConnecting || situation == Situation::kCallsign) return situation;
  if (code == kStillBusy) return Situation::kStillBusy;
  if (code == kNoAnswer) return Situation::kNoAnswer;
  return situation;
}

// The guide lists these lines word for word, each with what to do.
TextView FirstLine(Situation situation) {
  switch (situation) {
    case Situation::kConnecting:
      return u"EchoLink に接続できませんでした。Rapporta を終了します。";
    case Situation::kSending:
      return u"メッセージを送信できませんでした。メッセージは入力欄に残っています。";
    case Situation::kCallsignAfterSend:
      return u"メッセージは送信しましたが、自局のコールサインを読み取れませんでした。"
             u"記録欄には起動時のコールサインで載せました。";
    case Situation::kCallsign:
      return u"EchoLink から自局のコールサインを読み取れませんでした。";
    case Situation::kSaving:
      return u"記録を保存できませんでした。記録欄の内容はそのまま残っています。"
             u"別のフォルダーか別の名前で保存し直してください。";
    case Situation::kNoAnswer:
      return u"EchoLink が時間内に応答しませんでした。"
             u"EchoLink が応答するようになれば、そのまま使い続けられます。";
    case Situation::kStillBusy:
      return u"EchoLink は、時間切れになった前の要求をまだ処理しています。"
             u"少し待ってから、もう一度試してください。";
    case Situation::kUnexpected:
      break;
  }
  return u"予期しないエラーが起きました（メモリ不足など）。"
         u"ほかのプログラムを閉じてから、もう一度試してください。";
}

}  // namespace rapporta::ui
