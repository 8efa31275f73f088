#include "connection/single_instance_win.h"

#include "common/check_win.h"

namespace rapporta::connection {

SingleInstance::SingleInstance(const std::wstring& name)
    : mutex_(CheckWin(CreateMutexW(nullptr, FALSE, name.c_str()), "CreateMutex")),
      anotherRunning_(GetLastError() == ERROR_ALREADY_EXISTS) {}

}  // namespace rapporta::connection
