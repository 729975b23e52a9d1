// Sees a control's messages before the control does (window subclass).
// OnMessage returns true to swallow a message; result is then returned.
#pragma once
#include <commctrl.h>

#include <functional>

#include "forms/Window.h"

namespace forms {

class MessageFilter {
 public:
  MessageFilter() = default;
  ~MessageFilter() { Detach(); }
  MessageFilter(const MessageFilter&) = delete;
  MessageFilter& operator=(const MessageFilter&) = delete;

  bool Attach(HWND window) {
    Detach();
    window_ = window;
    return window && SetWindowSubclass(window, &MessageFilter::Proc, 1, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
  }
  void Detach() {
    if (window_ && IsWindow(window_)) RemoveWindowSubclass(window_, &MessageFilter::Proc, 1);
    window_ = nullptr;
  }
  HWND Handle() const { return window_; }

  std::function<bool(UINT msg, WPARAM w, LPARAM l, LRESULT& result)> OnMessage;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<MessageFilter*>(data);
    LRESULT result = 0;
    if (self->OnMessage && self->OnMessage(msg, w, l, result)) return result;
    if (msg == WM_NCDESTROY) {
      RemoveWindowSubclass(window, &MessageFilter::Proc, 1);
      self->window_ = nullptr;
    }
    return DefSubclassProc(window, msg, w, l);
  }

  HWND window_ = nullptr;
};

}  // namespace forms
