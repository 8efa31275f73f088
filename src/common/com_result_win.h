#pragma once
// What an exception becomes where a COM method returns: nothing may leave it.
#include <windows.h>

#include <new>
#include <type_traits>
#include <utility>

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

// Runs body, which returns the method's result or nothing (S_OK), and turns
// whatever it throws into one.
template <typename Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    if constexpr (std::is_void_v<decltype(body())>) {
      std::forward<Body>(body)();
      return S_OK;
    } else {
      return std::forward<Body>(body)();
    }
  } catch (...) {
    return CaughtResult();
  }
}

}  // namespace rapporta
