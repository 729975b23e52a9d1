// The 4-byte shared block "KestroMapFile" that holds the client's window.
#pragma once
#include <windows.h>

namespace snaptrap {

class SharedWindowBlock {
 public:
  // Creates the block in the paging file, or opens it when the client made it.
  bool Open();
  void Close();
  // The window handle stored in the block; nullptr when none can be read.
  HWND ReadWindow() const;

 private:
  HANDLE mapping_ = nullptr;
};

extern const char kSharedBlockName[];

}  // namespace snaptrap
