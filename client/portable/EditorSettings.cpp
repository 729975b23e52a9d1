#include "client/portable/EditorSettings.h"

#include <climits>

bool ParseDecimal(const std::string& text, int& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  long long result = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    result = result * 10 + (text[i] - '0');
    if (result > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) result = -result;
  if (result > INT_MAX || result < INT_MIN) return false;
  value = static_cast<int>(result);
  return true;
}

bool ColourFromCode(const std::string& code, unsigned long defaultColour, unsigned long& colour) {
  int number = 0;
  if (!ParseDecimal(code, number)) return false;
  switch (number) {
    case 1: colour = 0x0000FF; break;  // red
    case 2: colour = 0x000000; break;  // black
    case 3: colour = 0x800000; break;  // navy blue
    case 4: colour = 0xFFFFFF; break;  // white
    case 5: colour = 0x00FFFF; break;  // yellow
    default: colour = defaultColour; break;
  }
  return true;
}

bool FramePenFromSettings(const std::string& wakuType, const std::string& wakuWidth, FramePen& pen) {
  int type = 0, width = 0;
  if (!ParseDecimal(wakuType, type) || !ParseDecimal(wakuWidth, width)) return false;
  pen.line = type == 1 ? FrameLine::Dotted : FrameLine::Solid;
  pen.width = 1;
  if (width == 2) {
    pen.line = FrameLine::DashDot;
    pen.width = 3;
  }
  return true;
}

bool TextSizeFromSetting(const std::string& mojiSize, int& points) {
  int value = 0;
  if (!ParseDecimal(mojiSize, value) || value < 1 || value > 99) return false;
  points = value;
  return true;
}
