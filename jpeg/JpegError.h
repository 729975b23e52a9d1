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

// The error manager for a compress or decompress object: libjpeg's standard
// one whose fatal errors keep their message and jump to manager.jump. The
// caller's frame does the setjmp and, when it returns non-zero, DestroyOnError.
inline jpeg_error_mgr* JumpingErrors(ErrorManager& manager) {
  jpeg_std_error(&manager.base);
  manager.base.error_exit = ExitOnError;
  manager.message[0] = '\0';
  return &manager.base;
}

// After the jump: frees the object and copies the message into `message`.
inline bool DestroyOnError(j_common_ptr info, const ErrorManager& manager, char* message, std::size_t messageSize) {
  jpeg_destroy(info);
  std::snprintf(message, messageSize, "%s", manager.message);
  return false;
}

}  // namespace jpegio
