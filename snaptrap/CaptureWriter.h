// Writes one capture into the client's work folder under a fresh name.
#pragma once
#include <atomic>
#include <string>

#include "jpeg/JpegWriter.h"
#include "common/portable/CaptureName.h"

namespace snaptrap {

constexpr int kCaptureQuality = 90;

// <common application data>\Veltrana\kestro\temp\ ; "" when it is unknown.
std::string CaptureFolder();

// Writes the picture to a temporary file in the folder (created when
// missing) and renames it to the first free <hhnnss>_<n>.jpg, so the named
// file is always complete. Returns the name's numbers in id. When stopping
// is set by the time the picture is encoded, the file is removed unnamed.
bool WriteCaptureFile(const jpegio::RgbPicture& picture, const std::atomic<bool>* stopping, CaptureId* id,
                      std::string* error);

}  // namespace snaptrap
