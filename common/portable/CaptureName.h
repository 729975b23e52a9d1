// Names of the capture files that the hook library hands to the client.
#pragma once
#include <cstdint>
#include <string>

namespace snaptrap {

// The number pair sent with the capture message.
struct CaptureId {
  std::int32_t number = 0;    // wParam
  std::int32_t sequence = 0;  // lParam
};

// "%.6d" of the number, "_", the sequence, ".jpg": {42, 7} gives 000042_7.jpg.
std::string CaptureFileName(const CaptureId& id);

// The number of a capture taken at the given local time: hhnnss.
std::int32_t CaptureNumberForTime(int hour, int minute, int second);

}  // namespace snaptrap
