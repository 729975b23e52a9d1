// The drawing settings as the picture editor reads them at each edit.
#pragma once
#include <string>

// Decimal text with an optional sign to int; false for anything else
// (empty, blanks, letters, out of range).
bool ParseDecimal(const std::string& text, int& value);

// Colour of a code "1".."5" as $BBGGRR; any other number gives
// defaultColour. False when the text is not a number.
bool ColourFromCode(const std::string& code, unsigned long defaultColour, unsigned long& colour);

enum class FrameLine { Solid, Dotted, DashDot };
struct FramePen {
  FrameLine line = FrameLine::Solid;
  int width = 1;
};
// WAKUTYPE "1" dotted, else solid; WAKUWIDTH "2" makes it 3 wide and
// dash-dot. False when either text is not a number.
bool FramePenFromSettings(const std::string& wakuType, const std::string& wakuWidth, FramePen& pen);

// MOJISIZE: a number of points from 1 to 99.
bool TextSizeFromSetting(const std::string& mojiSize, int& points);

inline constexpr unsigned long kWhite = 0xFFFFFF;
inline constexpr unsigned long kBlack = 0x000000;
