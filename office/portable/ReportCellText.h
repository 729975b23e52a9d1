// Texts that go into the cells of a report workbook.
#pragma once
#include <string>
#include <vector>

namespace office {

// Lines joined with a line feed (character 10): a line feed goes in front of
// a line only when the text joined so far is not empty, so leading empty
// lines vanish.
std::string JoinCellLines(const std::vector<std::string>& lines);

// The processing day "yyyymmdd" names a calendar day (characters 1-4, 5-6
// and 7-8 as year, month and day).
bool IsCalendarDay(const std::string& yyyymmdd);

}  // namespace office
