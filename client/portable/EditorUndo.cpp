#include "client/portable/EditorUndo.h"

#include <cstdio>

std::string EditorUndo::PathOf(int index) const { return folder_ + "Undo" + std::to_string(index) + ".jpg"; }

void EditorUndo::Reset() {
  count_ = 0;
  for (int i = 0; i < kLimit; ++i) std::remove(PathOf(i).c_str());
}

bool EditorUndo::Push(const Writer& write, std::string* error) {
  if (count_ < kLimit) {
    const std::string path = PathOf(count_);
    std::remove(path.c_str());
    if (!write(path, error)) return false;
    ++count_;
    return true;
  }
  std::remove(PathOf(0).c_str());
  for (int i = 1; i < kLimit; ++i) std::rename(PathOf(i).c_str(), PathOf(i - 1).c_str());
  if (write(PathOf(kLimit - 1), error)) return true;
  count_ = kLimit - 1;  // the four kept snapshots still undo
  return false;
}
