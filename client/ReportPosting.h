// Posting a report from the local report store to the report store (the FTP
// server under "kestro", or the shared folder FILESAVEPATH), and the two
// fetches the other way: the project list and downloader.ini. The
// registration form forwards its fncSendFile, fncGetProject and
// fncGetDownloder here; log lines carry its caption "登録画面".
#pragma once
#include <winsock2.h>  // before windows.h: the transfer client uses Winsock 2
#include <windows.h>

#include <functional>
#include <string>

#include "client/RegistrationHandoff.h"

class TTmxFtp;

class ReportPoster {
 public:
  // ftp: the process's transfer client. owner: the window that owns boxes.
  explicit ReportPoster(TTmxFtp& ftp, HWND owner = nullptr);
  void SetOwner(HWND owner) { owner_ = owner; }

  // Saves the current capture into the local store; folder and name are
  // set to the report's day and file name. Default: ReportSaver::fncSaveFile
  // with the capture state's fields.
  std::function<bool(std::string& folder, std::string& name)> SaveReport;
  // Sets the tray icon (0 normal, 1 error, 2 busy). Default: Form1->MODIFYIcon.
  std::function<void(int state)> SetTrayState;

  // Set once the report is saved locally and again after a post; the
  // registration form clears it for each new capture.
  bool savedOrPosted = false;

  // Posts the report folder\name of the local store (saveFirst: saves the
  // current capture first and posts that). True when the report and its tag
  // file reached the store and the local copies were deleted. A failure
  // keeps the local files, sets the error icon and tells the user (no box
  // for a save first with SHOW 0). A report without its tag is not posted.
  bool fncSendFile(bool saveFirst, std::string& folder, std::string& name);
  // The same for the report saved or posted last (saveFirst: a new one).
  bool fncSendFile(bool saveFirst) { return fncSendFile(saveFirst, folder_, name_); }
  const std::string& Folder() const { return folder_; }
  const std::string& Name() const { return name_; }

  // kestro/projectlist.txt (or FILESAVEPATH's) into <data>projectlist.txt.
  // True when the fetch ran to its end, also without a list on the store.
  bool fncGetProject();
  // kestro/downloader.ini (or FILESAVEPATH's) through <data>temp\ into
  // <exe>downloader.ini. True when the fetch ran to its end, also without
  // the file on the store.
  bool fncGetDownloder();

  // True while a post or fetch runs.
  bool Busy() const { return running_; }
  // The message of the last failure ("" after a success).
  const std::string& LastError() const { return lastError_; }
  // What the last fncSendFile did with its report.
  PostOutcome LastOutcome() const { return lastOutcome_; }

 private:
  void Log(const std::string& text) const;
  // Logs the routine; false, after logging, while another store operation runs.
  bool Begin(const std::string& routine);
  void Tray(int state) const;
  // Sets host, userid, passwd and TimeOut, logs out and logs in; throws
  // `loginError` when the login fails.
  void Login(const std::string& loginError);
  // tag: the report's tag file in LOCALDIR + folder + "tag\".
  void PostByFtp(const std::string& folder, const std::string& name, const std::string& localPath,
                 const std::string& tag, const std::string& suffix);
  void PostToSharedFolder(const std::string& folder, const std::string& name, const std::string& localPath,
                          const std::string& tag);
  void DeleteLocalCopies(const std::string& folder, const std::string& name);

  TTmxFtp& ftp_;
  HWND owner_;
  std::string folder_, name_;
  std::string lastError_;
  PostOutcome lastOutcome_ = PostOutcome::NotSaved;
  bool running_ = false;  // one store operation at a time: they share the FTP session
};
