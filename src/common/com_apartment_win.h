#pragma once
// The thread's COM apartment, for as long as the owner lives.
#include <objbase.h>

#include "common/check_win.h"

namespace rapporta {

class ComApartment {
 public:
  explicit ComApartment(DWORD flags = COINIT_APARTMENTTHREADED) {
    CheckHr(CoInitializeEx(nullptr, flags), "CoInitializeEx");
  }
  ~ComApartment() { CoUninitialize(); }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace rapporta
