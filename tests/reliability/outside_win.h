#pragma once
// The real rapporta.exe seen from outside: its controls by id, its dialogs,
// and the log rule applied to what the stand-in sent it, to compare with.
#include <windows.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "rapporta_process_win.h"
#include "ui/layout.h"

namespace rapporta::reliability {

using testing::RapportaProcess;

// rapporta.exe that is asked to close, as the user closes it, before it is
// ended by force when a test stops early: a program killed leaves the host
// calling a client that is gone, which holds up the tests after it.
class Rapporta : public RapportaProcess {
 public:
  Rapporta() = default;
  Rapporta(const Rapporta&) = delete;
  Rapporta& operator=(const Rapporta&) = delete;
  ~Rapporta();
};

// The connected window (caption written), or null within the time.
HWND ConnectedForm(RapportaProcess& rapporta);
HWND ControlOf(HWND form, ui::ControlIndex index);
// Whole text of a window of another process.
std::wstring TextOf(HWND window);
// Answers a message at once: the window's thread is not stuck.
bool Responsive(HWND window);

// Types text into the input and clicks "Send" (posted: the test goes on).
void SendLine(HWND form, const wchar_t* text);
void ClickSave(HWND form);

// A visible dialog (#32770) of the process titled title, within the time.
HWND DialogOf(const RapportaProcess& process, const wchar_t* title, DWORD timeoutMs = 10000);
// A message box's text.
std::wstring BoxText(HWND box);
// Types a file name into the save dialog and presses its Save button.
void ChooseFile(HWND dialog, const std::wstring& path);
void Press(HWND dialog, int button);

// The log with every time prefix "[HH:MM]" written as "[00:00]": received
// texts that hold no "[" make this exact.
std::wstring WithoutTimes(std::wstring log);
// The log rule applied to texts received in order after log, each with the
// prefix "[00:00]".
std::wstring Expected(std::wstring log, const std::vector<Text>& received);

}  // namespace rapporta::reliability
