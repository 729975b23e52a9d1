// The queue of capture files announced by the hook library.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Capture file name from the message parameters: wParam as at least six
// digits, "_", lParam, ".jpg" (42, 7 -> "000042_7.jpg").
std::string CaptureName(int32_t wParam, int32_t lParam);

class CaptureQueue {
 public:
  // Appends the name unless an equal entry is queued already.
  bool Add(const std::string& name);
  // Removes the first entry equal to name.
  bool Remove(const std::string& name);
  bool Empty() const { return names_.empty(); }
  size_t Size() const { return names_.size(); }
  const std::string& Head() const { return names_.front(); }
  const std::vector<std::string>& Names() const { return names_; }
  void Clear() { names_.clear(); headMisses_ = 0; }

  // Counts the ticks on which the head's file was missing; true once it has
  // been missing for `limit` ticks in a row, so it can be given up.
  bool NoteHeadMissing(int limit);
  void NoteHeadFound() { headMisses_ = 0; }

 private:
  std::vector<std::string> names_;
  int headMisses_ = 0;
};
