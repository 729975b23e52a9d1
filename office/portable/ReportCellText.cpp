#include "office/portable/ReportCellText.h"

namespace office {

std::string JoinCellLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

bool IsCalendarDay(const std::string& day) {
  if (day.size() != 8) return false;
  for (char c : day)
    if (c < '0' || c > '9') return false;
  int year = std::stoi(day.substr(0, 4)), month = std::stoi(day.substr(4, 2)), date = std::stoi(day.substr(6, 2));
  if (year < 1 || month < 1 || month > 12 || date < 1) return false;
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return date <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace office
