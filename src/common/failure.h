#pragma once
// The one failure type. A failed call into the platform or the host becomes a
// Failure naming the operation and its error code; each handler catches it
// once, at its edge, and reports it.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace rapporta {

class Failure : public std::runtime_error {
 public:
  // codeName: for a code that is not the system's (a common dialog's own),
  // its name, which then stands in for the system's message.
  Failure(std::string operation, std::int32_t code, std::string codeName = {})
      : std::runtime_error(operation),
        operation_(std::move(operation)),
        code_(code),
        codeName_(std::move(codeName)) {}

  const std::string& Operation() const noexcept { return operation_; }
  std::int32_t Code() const noexcept { return code_; }
  const std::string& CodeName() const noexcept { return codeName_; }

 private:
  std::string operation_;
  std::int32_t code_;
  std::string codeName_;
};

}  // namespace rapporta
