#include "office/portable/WorkbookPassword.h"

#include <cstdint>

namespace office {

namespace {

int Field(const std::string& text, size_t start, size_t length) {
  int value = 0;
  for (size_t i = start; i < start + length; ++i) value = value * 10 + (text[i] - '0');
  return value;
}

}  // namespace

bool fncMakePwd(const std::string& timestamp, std::string& password) {
  password.clear();
  if (timestamp.size() != 14) return false;
  for (char c : timestamp)
    if (c < '0' || c > '9') return false;
  const int fields[6] = {Field(timestamp, 0, 4), Field(timestamp, 4, 2),  Field(timestamp, 6, 2),
                         Field(timestamp, 8, 2), Field(timestamp, 10, 2), Field(timestamp, 12, 2)};
  // FNV-1a over the six fields, then folded into 1000..99999.
  uint32_t hash = 2166136261u;
  for (int field : fields) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash ^= static_cast<uint32_t>(field >> shift) & 0xFFu;
      hash *= 16777619u;
    }
  }
  password = std::to_string(1000u + hash % 99000u);
  return true;
}

}  // namespace office
