#include "common/portable/CaptureName.h"

#include <cstdint>
#include <cstdio>

namespace snaptrap {

std::string CaptureFileName(const CaptureId& id) {
  char name[48];
  std::snprintf(name, sizeof name, "%.6ld_%ld.jpg", static_cast<long>(id.number),
                static_cast<long>(id.sequence));
  return name;
}

namespace {

// An optional "-" and decimal digits, within 32 bits.
bool ReadNumber(const std::string& text, std::int32_t& value) {
  const size_t digits = text.compare(0, 1, "-") == 0 ? 1 : 0;
  if (text.size() <= digits || text.size() > digits + 10) return false;
  long long number = 0;
  for (size_t i = digits; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    number = number * 10 + (text[i] - '0');
  }
  if (digits) number = -number;
  if (number < INT32_MIN || number > INT32_MAX) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

}  // namespace

bool IsCaptureFileName(const std::string& name) {
  const std::string extension = ".jpg";
  const size_t split = name.find('_');
  if (split == std::string::npos || name.size() < extension.size() ||
      name.compare(name.size() - extension.size(), extension.size(), extension) != 0)
    return false;
  CaptureId id;
  return ReadNumber(name.substr(0, split), id.number) &&
         ReadNumber(name.substr(split + 1, name.size() - extension.size() - split - 1), id.sequence) &&
         CaptureFileName(id) == name;
}

std::int32_t CaptureNumberForTime(int hour, int minute, int second) {
  return hour * 10000 + minute * 100 + second;
}

}  // namespace snaptrap
