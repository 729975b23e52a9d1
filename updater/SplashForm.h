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
  void InstallAll(const std::vector<Entry>& entries);
  bool InstallFile(const std::string& source, const std::string& target);

  forms::Panel pnlAnimate;
  forms::Control Label4;
  forms::Animate Animate1;
  forms::Label progress;
  HFONT titleFont_ = nullptr;
  HBRUSH blueBrush_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  HMODULE shell32_ = nullptr;

  std::string PROJECT, SUBDIR, IP, EXE, PARAM1, PARAM2, PARAM3, PARAM4, PARAM5;
  int shutdownFlag_ = 0;
  bool startComplete_ = false;
  bool closed_ = false;
};

extern TForm1* Form1;
