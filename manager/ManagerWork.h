// Work of a handler that can wait with the message loop running: a login,
// a button's or the grid's work, the close question. Every message comes in
// meanwhile; a handler entered then does nothing, and no window closes.
#pragma once
#include <string>

class ManagerWork {
 public:
  // Takes the work unless some runs already; then logs that `what` is not done.
  explicit ManagerWork(const std::string& what);
  ~ManagerWork();
  ManagerWork(const ManagerWork&) = delete;
  ManagerWork& operator=(const ManagerWork&) = delete;
  explicit operator bool() const { return taken_; }

  static bool Running() { return depth_ > 0; }
  // True, after a log line, while work runs: the close is refused.
  static bool RefuseClose();

 private:
  static int depth_;
  bool taken_ = false;
};
