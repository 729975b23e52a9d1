// Which old log files the daily clean-up deletes.
#pragma once
#include <string>

constexpr int kDefaultKeepDays = 10;

// The number of days to keep, as stored in the settings (decimal text):
// a positive whole number. Anything else ("", "0", "-3", "ten") gives
// false and kDefaultKeepDays.
bool ParseKeepDays(const std::string& validDay, int& days);

// (year/month/day - days) as "yyyymmdd".
std::string LogCutoffKey(int year, int month, int day, int days);

// Position of the date key in names matching the pattern: the first "?";
// std::string::npos when the pattern has none.
size_t LogKeyPosition(const std::string& pattern);

// True when the name's date key (8 characters at the pattern's first "?",
// blanks stripped) is 8 digits and not later than the cutoff.
bool IsExpiredLogName(const std::string& name, const std::string& pattern, const std::string& cutoff);
