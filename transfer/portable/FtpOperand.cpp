#include "transfer/portable/FtpOperand.h"

namespace transfer {

bool IsSafeFtpOperand(const std::string& operand) {
  return operand.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}

bool ParseFtpTimeOut(const std::string& text, unsigned& milliseconds) {
  if (text.empty() || text.size() > 10) return false;
  unsigned long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value == 0 || value > 0x7FFFFFFFull) return false;
  milliseconds = static_cast<unsigned>(value);
  return true;
}

}  // namespace transfer
