// Multi-line edit field with line access, CR LF between lines.
#pragma once
#include <vector>
#include "forms/Edit.h"

namespace forms {

class Memo : public Edit {
 public:
  bool Create(HWND parent, int x, int y, int width, int height, int id, DWORD style = 0) {
    return Edit::Create(parent, x, y, width, height, id,
                        ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | style);
  }
  void Clear() const { SetText(""); }
  void Append(const std::string& line) const {
    int end = GetWindowTextLengthA(window_);
    Send(EM_SETSEL, end, end);
    std::string text = end > 0 ? "\r\n" + line : line;
    Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  }
  int LineCount() const { return static_cast<int>(Send(EM_GETLINECOUNT)); }
};

}  // namespace forms
