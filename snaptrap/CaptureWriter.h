// Writes one capture into the client's work folder under a fresh name.
#pragma once
#include <string>

#include "jpeg/JpegWriter.h"
#include "common/portable/CaptureName.h"

namespace snaptrap {

constexpr int kCaptureQuality = 90;

// <common application data>\Veltrana\kestro\temp\ ; "" when it is unknown.
std::string CaptureFolder();

// Writes the picture to a temporary file in the folder (created when
// missing) and renames it to the first free <hhnnss>_<n>.jpg, so the named
// file is always complete. Returns the name's numbers in id.
bool WriteCaptureFile(const jpegio::RgbPicture& picture, CaptureId* id, std::string* error);

}  // namespace snaptrap
