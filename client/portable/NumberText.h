// Checks of number texts and of dotted IPv4 addresses.
#pragma once
#include <array>
#include <string>

// False for an empty text. Mode 0: every byte a digit; mode 1: every byte a
// digit or one of , - . ; any other mode: true.
bool fncChkNumeric(const std::string& text, int mode);

// Four dot-separated parts of at most 3 digits each; on success the parts
// are returned without leading zeros ("010" -> "10"). No range check.
bool fncChkIpAddress(const std::string& text, std::array<std::string, 4>& parts);
