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
  Failure(std::string operation, std::int32_t code)
      : std::runtime_error(operation), operation_(std::move(operation)), code_(code) {}

  const std::string& Operation() const noexcept { return operation_; }
  std::int32_t Code() const noexcept { return code_; }

 private:
  std::string operation_;
  std::int32_t code_;
};

}  // namespace rapporta
