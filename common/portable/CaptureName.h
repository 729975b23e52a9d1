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

// A name that CaptureFileName gives for some number pair, and only such a
// name: "000042_7.jpg" is one, "42_7.jpg", "000042_07.jpg" or "Undo0.jpg"
// are not.
bool IsCaptureFileName(const std::string& name);

// The number of a capture taken at the given local time: hhnnss.
std::int32_t CaptureNumberForTime(int hour, int minute, int second);

}  // namespace snaptrap
