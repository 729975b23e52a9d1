#include "forms/Timer.h"

#include <map>

namespace forms {
namespace {

std::map<UINT_PTR, Timer*>& Running() {
  static std::map<UINT_PTR, Timer*> running;
  return running;
}

}  // namespace

void Timer::SetInterval(UINT milliseconds) {
  interval_ = milliseconds;
  if (Enabled()) SetEnabled(true);
}

void Timer::SetEnabled(bool enabled) {
  if (id_) {
    KillTimer(nullptr, id_);
    Running().erase(id_);
    id_ = 0;
  }
  if (enabled && interval_ > 0) {
    id_ = SetTimer(nullptr, 0, interval_, &Timer::Tick);
    if (id_) Running()[id_] = this;
  }
}

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) {
  auto found = Running().find(id);
  if (found != Running().end() && found->second->OnTimer) found->second->OnTimer();
}

}  // namespace forms
