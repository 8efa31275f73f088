// The program's entry: one apartment-threaded COM thread, one window.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include "common/com_apartment_win.h"
#include "host/host_app_win.h"
#include "save/save_command_win.h"
#include "ui/failure_report_win.h"
#include "ui/form1_win.h"
#include "ui/message_loop_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  using namespace rapporta;
  try {
    const ComApartment com(COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ui::Form1 form({host::CreateHostApp, save::B_Save_Click, {}, connection::kInstanceName});
    if (form.Start(showCommand) != ui::StartResult::Running) return 0;
    return ui::RunMessageLoop(form);
  } catch (const Failure& failure) {
    ui::ReportFailure(nullptr, failure, ui::Stage::kStartUp);
    return 1;
  }
}
