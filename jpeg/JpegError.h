// libjpeg reports fatal errors through error_exit; jump back to the caller
// instead of letting it end the process.
#pragma once
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace jpegio {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

inline void ExitOnError(j_common_ptr info) {
  ErrorManager* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

}  // namespace jpegio
