#include "outside_win.h"

#include <cwctype>

#include "chat/log_rule.h"
#include "common/text_win.h"
#include "ui/form_controls_win.h"

namespace rapporta::reliability {
namespace {

bool IsTime(const std::wstring& log, std::size_t at) {
  auto digit = [&](std::size_t i) { return std::iswdigit(log[at + i]) != 0; };
  return log[at] == L'[' && digit(1) && digit(2) && log[at + 3] == L':' && digit(4) &&
         digit(5) && log[at + 6] == L']';
}

}  // namespace

Rapporta::~Rapporta() {
  if (Ended()) return;
  if (HWND form = VisibleWindow()) PostMessageW(form, WM_CLOSE, 0, 0);
  Ended(5000);
}

HWND ConnectedForm(RapportaProcess& rapporta) {
  HWND form = nullptr;
  testing::WaitFor([&] {
    form = rapporta.VisibleWindow();
    return form && TextOf(form).rfind(L"Rapporta!", 0) == 0;
  });
  return form;
}

HWND ControlOf(HWND form, ui::ControlIndex index) {
  return GetDlgItem(form, ui::kFirstControlId + static_cast<int>(index));
}

std::wstring TextOf(HWND window) { return WindowText(window); }

bool Responsive(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

void SendLine(HWND form, const wchar_t* text) {
  SendMessageW(ControlOf(form, ui::sInput), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  PostMessageW(ControlOf(form, ui::B_Send), BM_CLICK, 0, 0);
}

void ClickSave(HWND form) { PostMessageW(ControlOf(form, ui::B_Save), BM_CLICK, 0, 0); }

HWND DialogOf(const RapportaProcess& process, const wchar_t* title, DWORD timeoutMs) {
  // The program shows one dialog at a time.
  HWND dialog = nullptr;
  testing::WaitFor(
      [&] {
        dialog = process.VisibleWindow(L"#32770");
        return dialog && TextOf(dialog) == title;
      },
      timeoutMs);
  return dialog && TextOf(dialog) == title ? dialog : nullptr;
}

std::wstring BoxText(HWND box) { return TextOf(GetDlgItem(box, 0xffff)); }

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

void Press(HWND dialog, int button) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
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

}  // namespace rapporta::reliability
