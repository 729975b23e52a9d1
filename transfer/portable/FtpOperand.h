// Checks of the text parameters before anything is sent.
#pragma once
#include <string>

namespace transfer {

// An operand goes out inside one command line: CR, LF and NUL would end it
// early or smuggle in a second command.
bool IsSafeFtpOperand(const std::string& operand);

// The time-out text: decimal digits only, 1 to 2^31-1 milliseconds.
bool ParseFtpTimeOut(const std::string& text, unsigned& milliseconds);

}  // namespace transfer
