#include "forms/MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace forms {
namespace {

MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

// Reply named in KESTRO_MSGBOX_REPLY ("OK", "CANCEL", "YES", "NO" or a
// number); by default the box's own default button.
int PresetReply(UINT flags) {
  const char* reply = std::getenv("KESTRO_MSGBOX_REPLY");
  if (reply && *reply) {
    std::string r(reply);
    if (r == "OK") return IDOK;
    if (r == "CANCEL") return IDCANCEL;
    if (r == "YES") return IDYES;
    if (r == "NO") return IDNO;
    return std::atoi(reply);
  }
  UINT buttons = flags & MB_TYPEMASK;
  bool second = (flags & MB_DEFMASK) == MB_DEFBUTTON2;
  switch (buttons) {
    case MB_OKCANCEL: return second ? IDCANCEL : IDOK;
    case MB_YESNO: return second ? IDNO : IDYES;
    case MB_YESNOCANCEL: return second ? IDNO : IDYES;
    case MB_RETRYCANCEL: return second ? IDCANCEL : IDRETRY;
    default: return IDOK;
  }
}

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
  MessageBoxRecord record{caption, text, flags};
  if (Hook()) return Hook()(record);
  const char* log = std::getenv("KESTRO_MSGBOX_LOG");
  if (log && *log) {
    if (FILE* file = std::fopen(log, "ab")) {
      std::fprintf(file, "%s\t%s\t%u\r\n", caption.c_str(), text.c_str(), flags);
      std::fclose(file);
    }
    return PresetReply(flags);
  }
  return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

}  // namespace forms
