// The error every failed call into an automation object raises. The message
// is in the system code page.
#pragma once
#include <stdexcept>
#include <string>

namespace office {

class OleError : public std::runtime_error {
 public:
  explicit OleError(const std::string& message, long hresult = 0) : std::runtime_error(message), hresult_(hresult) {}
  long HResult() const { return hresult_; }

 private:
  long hresult_;
};

}  // namespace office
