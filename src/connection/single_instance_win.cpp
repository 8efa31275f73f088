#include "connection/single_instance_win.h"

#include "common/check_win.h"

namespace rapporta::connection {

SingleInstance::SingleInstance(const std::wstring& name)
    : mutex_(CreateMutexW(nullptr, FALSE, name.c_str())) {
  const DWORD error = GetLastError();
  // A copy that runs elevated holds a mutex this one may not open: it is
  // there all the same.
  if (!mutex_ && error != ERROR_ACCESS_DENIED) ThrowLastError("CreateMutex");
  anotherRunning_ = !mutex_ || error == ERROR_ALREADY_EXISTS;
}

}  // namespace rapporta::connection
