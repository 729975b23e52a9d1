// Appends one line per automation call to the file named by the environment
// variable XLSTANDIN_CALL_LOG (UTF-8, CR LF), when it is set.
#pragma once
#include <string>

namespace xlstandin {

void LogCall(const std::string& line);

}  // namespace xlstandin
