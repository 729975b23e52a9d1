// The report workbook password, shared by the client and the manager.
#pragma once
#include <string>

namespace office {

// Builds the password of a report from its 14-character timestamp
// yyyymmddhhnnss: 4 or 5 decimal digits, always the same for one timestamp.
// False with an empty password when the timestamp is not 14 digits.
bool fncMakePwd(const std::string& timestamp, std::string& password);

}  // namespace office
