#include "ui/form_controls_win.h"

#include <string_view>

#include "common/check_win.h"
#include "common/text_win.h"
#include "ui/dpi_win.h"

namespace rapporta::ui {
namespace {

struct Kind {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

Kind KindOf(ControlIndex index) {
  constexpr DWORD child = WS_CHILD | WS_VISIBLE;
  switch (index) {
    case lChat:
      // Wraps at the box's width; out of the Tab order (the focus starts in
      // the input and comes here only by the mouse).
      return {L"EDIT", child | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE};
    case sInput:
      return {L"EDIT", child | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case C_Time:
      return {L"BUTTON", child | WS_TABSTOP | BS_AUTOCHECKBOX, 0};
    default:
      return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON, 0};
  }
}

// sInput's own font: "System", 13.5 point, regular, Shift-JIS.
UniqueFont InputFont(int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(135, dpi, 720);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  constexpr std::wstring_view face = L"System";
  face.copy(font.lfFaceName, face.size());  // the rest stays NUL
  return UniqueFont(CheckWin(CreateFontIndirectW(&font), "CreateFont"));
}

}  // namespace

void FormControls::Create(HWND parent, int dpi) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const auto index = static_cast<ControlIndex>(i);
    const Kind kind = KindOf(index);
    handles_[i] = CheckWin(
        CreateWindowExW(kind.exStyle, kind.windowClass, WidePtr(kControls[i].caption), kind.style,
                        0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                        instance, nullptr),
        "CreateWindowEx");
  }
  // No length limit of their own: the log must hold 60000 characters and
  // more, beyond the box's default of 32767.
  SendMessageW(handles_[lChat], EM_SETLIMITTEXT, 0, 0);
  SendMessageW(handles_[sInput], EM_SETLIMITTEXT, 0, 0);
  SendMessageW(handles_[C_Time], BM_SETCHECK, BST_CHECKED, 0);
  ApplyDpi(dpi);
}

int FormControls::IndexOfId(int id) {
  const int index = id - kFirstControlId;
  return index >= 0 && index < static_cast<int>(kControls.size()) ? index : -1;
}

void FormControls::ApplyDpi(int dpi) {
  UniqueFont messageFont = MessageFont(dpi);
  UniqueFont inputFont = InputFont(dpi);
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    const auto index = static_cast<ControlIndex>(i);
    const HFONT font = index == sInput ? inputFont.Get() : messageFont.Get();
    SendMessageW(handles_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    const ControlDesign& design = kControls[i];
    Place(index, design.left, design.top, design.width, design.height, dpi);
  }
  // The controls now use the new fonts; the old ones can go.
  messageFont_ = std::move(messageFont);
  inputFont_ = std::move(inputFont);
}

void FormControls::Resize(int clientWidth, int clientHeight, int dpi) {
  const ResizedGeometry geometry = ResizeRule(PixelsToTwips(clientWidth, dpi) + kFrameWidth,
                                              PixelsToTwips(clientHeight, dpi) + kFrameHeight);
  const ControlDesign& chat = kControls[lChat];
  const ControlDesign& input = kControls[sInput];
  const ControlDesign& send = kControls[B_Send];
  Place(lChat, chat.left, chat.top, geometry.chatWidth, geometry.chatHeight, dpi);
  Place(sInput, input.left, geometry.inputTop, geometry.inputWidth, input.height, dpi);
  Place(B_Send, geometry.sendLeft, geometry.sendTop, send.width, send.height, dpi);
}

void FormControls::Place(ControlIndex index, int left, int top, int width, int height, int dpi) {
  CheckWin(SetWindowPos(handles_[index], nullptr, TwipsToPixels(left, dpi),
                        TwipsToPixels(top, dpi), TwipsToPixels(width, dpi),
                        TwipsToPixels(height, dpi), SWP_NOZORDER | SWP_NOACTIVATE),
           "SetWindowPos");
}

}  // namespace rapporta::ui
