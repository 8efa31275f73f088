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

// The code of a Failure for a call the host did not answer within its bound
// (RPC_E_TIMEOUT): the call is given up and reported as such.
inline constexpr std::int32_t kNoAnswer = static_cast<std::int32_t>(0x8001011F);
// The code of a Failure for a call refused because the host is still busy with
// an earlier one that was given up (RPC_E_SERVERCALL_RETRYLATER).
inline constexpr std::int32_t kStillBusy = static_cast<std::int32_t>(0x8001010A);
// The code of a Failure for a call given up because the window is closing
// (E_ABORT): nothing is left to report it to.
inline constexpr std::int32_t kGivenUp = static_cast<std::int32_t>(0x80004004);

}  // namespace rapporta
