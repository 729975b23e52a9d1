#include "client/portable/CaptureQueue.h"

#include <algorithm>
#include "common/portable/CaptureName.h"

std::string CaptureName(int32_t wParam, int32_t lParam) {
  return snaptrap::CaptureFileName(snaptrap::CaptureId{wParam, lParam});
}

bool CaptureQueue::Add(const std::string& name) {
  if (std::find(names_.begin(), names_.end(), name) != names_.end()) return false;
  names_.push_back(name);
  return true;
}

bool CaptureQueue::Remove(const std::string& name) {
  auto found = std::find(names_.begin(), names_.end(), name);
  if (found == names_.end()) return false;
  if (found == names_.begin()) headMisses_ = 0;
  names_.erase(found);
  return true;
}

bool CaptureQueue::NoteHeadMissing(int limit) { return ++headMisses_ >= limit; }
