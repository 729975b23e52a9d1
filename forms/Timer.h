// A thread timer whose tick calls OnTimer; set Interval, then Enabled.
#pragma once
#include <windows.h>
#include <functional>

namespace forms {

class Timer {
 public:
  Timer() = default;
  ~Timer() { SetEnabled(false); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  // Changing the interval of a running timer restarts its countdown.
  void SetInterval(UINT milliseconds);
  UINT Interval() const { return interval_; }
  // Enabling an enabled timer restarts its countdown.
  void SetEnabled(bool enabled);
  bool Enabled() const { return id_ != 0; }

  std::function<void()> OnTimer;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);

  UINT interval_ = 1000;
  UINT_PTR id_ = 0;
};

}  // namespace forms
