// The updater's one form: the borderless splash window whose one-shot timer
// downloads the new files, installs them and starts the caller again.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "forms/Animate.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/Panel.h"
#include "forms/Timer.h"

// One line of the install record: a new copy, or a file moved aside with
// its target; both relative to the program folder.
struct RecordLine {
  bool moved = false;
  std::string path, target;
};

class TForm1 : public forms::Form {
 public:
  TForm1();
  ~TForm1() override;

  // Creates the window with its controls; FormCreate runs inside.
  bool Create();
  // FormCreate read the settings and set up the timer.
  bool StartComplete() const { return startComplete_; }

  void Log(const std::string& message) const;

  void tmrEventTimer();
  bool fncDownload();
  void ShowAnimation();
  void HideAnimation();

  forms::Timer tmrEvent;

 protected:
  void FormCreate() override;
  void FormShow() override;
  void FormCloseQuery(bool& canClose) override;
  void FormClose() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  // One file of the download list.
  struct Entry {
    std::string name;
    std::string remoteFolder;  // "download/<PROJECT>/[<SUBDIR>/]"
    std::string destination;   // program folder [+ SUBDIR + "\"]
    std::string workFolder;    // work folder [+ SUBDIR + "\"]
  };
  // Where the lines of the working list came from.
  struct Source {
    std::string remoteFolder, destination, workFolder;
  };

  void CreateControls();
  void fncInit();
  void fncSysRead();
  void fncSysWrite();
  LRESULT ShutDownMessage();
  void ShowError(const std::string& message) const;
  void SetProgress(const std::string& text);
  std::string ReadSetting(const char* key) const;

  // fncDownload's steps.
  void AddListing(const Source& source, std::vector<Source>& sources);
  std::vector<Entry> ReadListing(const std::vector<Source>& sources);
  void DownloadAll(const std::vector<Entry>& entries);
  // One file of the install: its work copy, its target, the free paths of
  // its new copy and of the file moved aside, and what became of it.
  struct Install {
    std::string work, target;
    std::string newPath{}, oldPath{};
    bool self = false;        // the running updater's own file
    bool movedAside = false;  // the installed file is at oldPath
    bool replaced = false;    // the new file is at target
  };
  // Copies every file next to its target, waits for the targets, replaces
  // them one by one; a failure puts back what was replaced and raises.
  void InstallAll(const std::vector<Entry>& entries);
  // The first target still held open after the wait, or null.
  const Install* WaitForTargets(const std::vector<Install>& installs);
  // Waits while target is held open, until the wait begun at start runs out.
  bool WaitForTarget(const std::string& target, DWORD start, const std::string& step);
  bool Replace(Install& install);
  // True when every file moved aside is back in its place.
  bool PutBack(const std::vector<Install>& installs);
  static void RemoveNewCopies(const std::vector<Install>& installs);
  // Removes the install record once none of the paths it lists is there.
  void CloseInstallRecord(const std::vector<Install>& installs);
  [[noreturn]] void FailInstall(const std::string& target, bool whole);
  // Clears what the last install left, going by its record alone; what
  // it could not put back or remove stays listed in standing_.
  void RemoveInstallLeftovers();
  // Plays the system's clip instead of the program folder's one, which the
  // control holds open.
  void LetGoOfOwnClip();
  bool OpenShellClip();

  forms::Panel pnlAnimate;
  forms::Control Label4;
  forms::Animate Animate1;
  forms::Label progress;
  HFONT titleFont_ = nullptr;
  HBRUSH blueBrush_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  HMODULE shell32_ = nullptr;
  bool ownClip_ = false;  // Animate1 plays the program folder's clip
  std::vector<RecordLine> standing_;

  std::string PROJECT, SUBDIR, IP, EXE, PARAM1, PARAM2, PARAM3, PARAM4, PARAM5;
  int shutdownFlag_ = 0;
  bool startComplete_ = false;
  bool closed_ = false;
};

extern TForm1* Form1;
