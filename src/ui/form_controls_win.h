#pragma once
// The six controls of Form1: created in tab order from the control table,
// placed in twips at the window's DPI, and fitted by the resize rule.
#include <windows.h>

#include <array>

#include "common/unique_win.h"
#include "ui/layout.h"

namespace rapporta::ui {

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Esc.
inline constexpr int kFirstControlId = 100;

class FormControls {
 public:
  // Creates the controls, hidden from nobody, with the fonts and the designed
  // geometry for dpi. Throws Failure.
  void Create(HWND parent, int dpi);
  HWND operator[](ControlIndex index) const { return handles_[index]; }
  // The control with this id, or -1.
  static int IndexOfId(int id);
  // Fonts and designed geometry again, for a new DPI.
  void ApplyDpi(int dpi);
  // Form_Resize: fits the log, the input and "Send" to a client area of the
  // given pixel size (never called for a minimized window).
  void Resize(int clientWidth, int clientHeight, int dpi);

 private:
  void Place(ControlIndex index, int left, int top, int width, int height, int dpi);

  std::array<HWND, kControls.size()> handles_{};
  UniqueFont messageFont_;
  UniqueFont inputFont_;
};

}  // namespace rapporta::ui
