#pragma once
// The single-instance rule: a named mutex in the session's namespace. The
// first instance holds it for its whole life. A mutex of that name that this
// copy may not open (the first copy runs elevated) counts as another copy.
#include <string>

#include "common/unique_win.h"

namespace rapporta::connection {

inline constexpr wchar_t kInstanceName[] = L"Local\\Rapporta.SingleInstance";

class SingleInstance {
 public:
  explicit SingleInstance(const std::wstring& name);
  bool AnotherRunning() const { return anotherRunning_; }

 private:
  UniqueHandle mutex_;
  bool anotherRunning_ = false;
};

}  // namespace rapporta::connection
