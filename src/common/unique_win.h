#pragma once
// One owner for every kind of handle: it closes what it holds once, when it
// goes or is given another, and is moved, never copied. A kind names its
// close function and the value that means "nothing" (null, or
// INVALID_HANDLE_VALUE for files).
#include <windows.h>

#include <utility>

namespace rapporta {

template <typename T>
constexpr T NullValue() noexcept {
  return T{};
}
inline HANDLE InvalidHandleValue() noexcept { return INVALID_HANDLE_VALUE; }

template <typename T, void (*Close)(T) noexcept, T (*Invalid)() noexcept = NullValue<T>>
class Unique {
 public:
  Unique() noexcept = default;
  explicit Unique(T value) noexcept : value_(value) {}
  Unique(Unique&& other) noexcept : value_(other.Release()) {}
  Unique& operator=(Unique&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  ~Unique() { Reset(); }

  T Get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Invalid(); }
  // Closes what is held and takes value.
  void Reset(T value = Invalid()) noexcept {
    const T old = std::exchange(value_, value);
    if (old != Invalid()) Close(old);
  }
  T Release() noexcept { return std::exchange(value_, Invalid()); }
  // For an out-parameter: whatever was held is closed first.
  T* Put() noexcept {
    Reset();
    return &value_;
  }

 private:
  T value_ = Invalid();
};

namespace close {
inline void Handle(HANDLE handle) noexcept { CloseHandle(handle); }
inline void Font(HFONT font) noexcept { DeleteObject(font); }
}  // namespace close

using UniqueHandle = Unique<HANDLE, close::Handle>;
using UniqueFile = Unique<HANDLE, close::Handle, InvalidHandleValue>;
using UniqueFont = Unique<HFONT, close::Font>;

}  // namespace rapporta
