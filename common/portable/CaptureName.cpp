#include "common/portable/CaptureName.h"

#include <cstdio>

namespace snaptrap {

std::string CaptureFileName(const CaptureId& id) {
  char name[48];
  std::snprintf(name, sizeof name, "%.6ld_%ld.jpg", static_cast<long>(id.number),
                static_cast<long>(id.sequence));
  return name;
}

std::int32_t CaptureNumberForTime(int hour, int minute, int second) {
  return hour * 10000 + minute * 100 + second;
}

}  // namespace snaptrap
