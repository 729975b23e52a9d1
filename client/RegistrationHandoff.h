// What the capture timer needs of the registration form object: the store
// fetch of the project list, posting, and showing the form for a capture.
// The registration form implements it; until it is installed the timer
// keeps captures in the work folder.
#pragma once

// What one post of a report came to.
enum class PostOutcome {
  NotSaved,   // the report was not written into the local store
  SavedOnly,  // it waits in the local store; the post failed
  Posted,     // it reached the report store
};

class RegistrationHandoff {
 public:
  virtual ~RegistrationHandoff() = default;
  // 1 when the server's project list was fetched into the data folder.
  virtual int fncGetProject() = 0;
  // Saves (when saveFirst) and posts the current capture; sets the error
  // icon itself on failure. The result tells what this call did.
  virtual PostOutcome fncSendFile(bool saveFirst) = 0;
  virtual bool IsShown() const = 0;
  // True while a post or fetch holds the FTP session (a list post, say):
  // the timer then leaves its captures queued.
  virtual bool StoreBusy() const { return false; }
  // Shows the form for the current capture, topmost, unmoved.
  virtual void ShowForCapture() = 0;
};

// Installed by the program block once the registration form exists.
extern RegistrationHandoff* gRegistration;
