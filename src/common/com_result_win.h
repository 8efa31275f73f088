#pragma once
// What an exception becomes where a COM method returns: nothing may leave it.
#include <windows.h>

#include <new>

#include "common/failure.h"

namespace rapporta {

// Call only inside a catch block: the result for the exception being handled.
inline HRESULT CaughtResult() noexcept {
  try {
    throw;
  } catch (const Failure& failure) {
    return FAILED(failure.Code()) ? static_cast<HRESULT>(failure.Code()) : E_FAIL;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // namespace rapporta
