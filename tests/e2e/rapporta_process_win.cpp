#include "rapporta_process_win.h"

#include <cstdlib>
#include <cwctype>

#include "chat/log_rule.h"
#include "common/check_win.h"
#include "ui/form_controls_win.h"

namespace rapporta::testing {
namespace {

std::wstring ExePath() {
  // The package test points the suite at the program taken out of the zip.
  if (const wchar_t* chosen = _wgetenv(L"RAPPORTA_EXE")) return chosen;
  return WindowsPath(RAPPORTA_EXE);  // from the build
}

struct Search {
  DWORD process;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search.process || !IsWindowVisible(window)) return TRUE;
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (search.className && std::wstring(name) != search.className) return TRUE;
  search.found = window;
  return FALSE;
}

bool IsTime(const std::wstring& log, std::size_t at) {
  auto digit = [&](std::size_t i) { return std::iswdigit(log[at + i]) != 0; };
  return log[at] == L'[' && digit(1) && digit(2) && log[at + 3] == L':' && digit(4) &&
         digit(5) && log[at + 6] == L']';
}

}  // namespace

RapportaProcess::RapportaProcess() {
  auto program = StartProgram(ExePath(), L"");
  process_ = std::move(program.process);
  id_ = program.id;
}

RapportaProcess::~RapportaProcess() {
  if (Ended()) return;
  if (HWND form = VisibleWindow()) PostMessageW(form, WM_CLOSE, 0, 0);
  if (Ended(5000)) return;
  TerminateProcess(process_.Get(), 1);
  WaitForSingleObject(process_.Get(), 5000);
}

bool RapportaProcess::Ended(DWORD waitMilliseconds) const {
  return WaitForSingleObject(process_.Get(), waitMilliseconds) == WAIT_OBJECT_0;
}

HWND RapportaProcess::VisibleWindow(const wchar_t* className) const {
  return VisibleWindowOf(id_, className);
}

HWND RapportaProcess::ConnectedForm() const {
  HWND form = nullptr;
  WaitFor([&] {
    form = VisibleWindow();
    return form && WindowText(form).rfind(L"Rapporta!", 0) == 0;
  });
  return form;
}

HWND RapportaProcess::Dialog(const wchar_t* title, DWORD timeoutMs) const {
  // The program shows one dialog at a time.
  HWND dialog = nullptr;
  WaitFor(
      [&] {
        dialog = VisibleWindow(L"#32770");
        return dialog && WindowText(dialog) == title;
      },
      timeoutMs);
  return dialog && WindowText(dialog) == title ? dialog : nullptr;
}

HWND VisibleWindowOf(DWORD process, const wchar_t* className) {
  Search search{process, className, nullptr};
  EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChild(HWND parent, const wchar_t* className, const wchar_t* text) {
  for (HWND child = FindWindowExW(parent, nullptr, className, nullptr); child;
       child = FindWindowExW(parent, child, className, nullptr)) {
    if (WindowText(child) == text) return child;
  }
  return nullptr;
}

HWND ControlOf(HWND form, ui::ControlIndex index) {
  return GetDlgItem(form, ui::kFirstControlId + static_cast<int>(index));
}

bool Responsive(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void SendLine(HWND form, const wchar_t* text) {
  SendMessageW(ControlOf(form, ui::sInput), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  PostMessageW(ControlOf(form, ui::B_Send), BM_CLICK, 0, 0);
}

void ClickSave(HWND form) { PostMessageW(ControlOf(form, ui::B_Save), BM_CLICK, 0, 0); }

std::wstring BoxText(HWND box) { return WindowText(GetDlgItem(box, 0xffff)); }

void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

void ChooseFile(HWND dialog, const std::wstring& path) {
  // The edit box inside the file name combo box (cmb13), or edt1.
  HWND box = GetDlgItem(dialog, 0x47c);
  if (!box) box = GetDlgItem(dialog, 0x480);
  HWND edit = box;
  for (HWND inner = box; inner; inner = FindWindowExW(inner, nullptr, nullptr, nullptr)) {
    wchar_t name[16] = {};
    GetClassNameW(inner, name, 16);
    if (std::wstring_view(name) == L"Edit") edit = inner;
  }
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  Press(dialog, IDOK);
}

std::wstring WithoutTimes(std::wstring log) {
  for (std::size_t at = 0; at + 7 <= log.size(); ++at) {
    if (IsTime(log, at)) log.replace(at, 7, L"[00:00]");
  }
  return log;
}

std::wstring Expected(std::wstring log, const std::vector<Text>& received) {
  Text text = FromWide(log);
  for (const Text& line : received) chat::AppendEntry(text, chat::LogEntry(u"[00:00]", line));
  return std::wstring(Wide(text));
}

}  // namespace rapporta::testing
