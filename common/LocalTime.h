// Today's date on the local clock.
#pragma once
#include <string>

// Today as "yyyymmdd", or with the separator between the fields
// ("yyyy/mm/dd" for '/').
std::string TodayText(const std::string& separator = "");
