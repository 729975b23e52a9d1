#include "manager/portable/SpreadsheetOptionRules.h"

#include "common/portable/Cp932.h"
#include "manager/portable/ManagerSettingsRules.h"

namespace {

const OutputKind kKinds[kOutputKindCount] = {
    {"1024", "768", kLandscape, "00"},  // one picture per sheet
    {"600", "450", kPortrait, "00"},    // all pictures on one sheet
    {"1024", "768", kLandscape, "01"},  // A4 form TAN-01
    {"580", "435", kLandscape, "02"},   // A4 form TAN-02
    {"600", "450", kPortrait, "03"},    // A4 form TAN-03
};

}  // namespace

const OutputKind& OutputKindOf(int kind) {
  return kKinds[kind >= 1 && kind <= kOutputKindCount ? kind - 1 : 0];
}

bool ReadSizeLimit(const std::string& text, int& value) {
  const int number = DecimalOr(text, 0);
  if (number < 1) return false;
  value = number;
  return true;
}

bool IsPasteCell(const std::string& text) {
  bool letter = false, digit = false;
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = Cp932CharLength(text, pos);
    const char c = text[pos];
    if (length == 1 && c >= '0' && c <= '9') {
      digit = true;
    } else if (length == 1 && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) {
      letter = true;
    } else {
      letter = digit = false;
    }
    pos += length;
  }
  return letter && digit;
}
