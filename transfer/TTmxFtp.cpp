// TTmxFtp: the form, the wait, the control connection, login and the
// commands without a data connection.
#include "transfer/TTmxFtp.h"

#include <cstring>

#include "forms/Application.h"
#include "transfer/FtpLog.h"
#include "transfer/portable/FtpCommandState.h"
#include "transfer/portable/FtpOperand.h"

TTmxFtp* TmxFtp = nullptr;

using namespace transfer;

namespace {

constexpr int kControlReadSize = 8192;
constexpr int kLoginAttempts = 3;

}  // namespace

int TTmxFtp::ftpState = 0;
int TTmxFtp::ftpLoggedIn = 0;
HANDLE TTmxFtp::ftpDataFile = INVALID_HANDLE_VALUE;

TTmxFtp::TTmxFtp() : Form("TTmxFtp", "TTmxFtp") {
  cs1.OnConnect = [this] { cs1Connect(); };
  cs1.OnRead = [this] { cs1Read(); };
  cs1.OnDisconnect = [this] { cs1Disconnect(); };
  cs1.OnError = [this](int error) { cs1Error(error); };
  cs2.OnConnect = [this] { cs2Connect(); };
  cs2.OnRead = [this] { cs2Read(); };
  cs2.OnDisconnect = [this] { cs2Disconnect(); };
  cs2.OnError = [this](int error) { cs2Error(error); };
  Timer1.OnTimer = [this] { Timer1Timer(); };
  conTimer.OnTimer = [this] { conTimerTimer(); };
  conTimer.SetInterval(10);
}

TTmxFtp::~TTmxFtp() {
  Timer1.SetEnabled(false);
  conTimer.SetEnabled(false);
  cs2.Close();
  cs1.Close();
  CloseDataFile();
}

bool TTmxFtp::Create() { return Form::Create(WS_POPUP, WS_EX_TOOLWINDOW, 0, 0); }

void TTmxFtp::FormCreate() { ftpLoggedIn = 0; }

bool TTmxFtp::HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) {
  if (msg == kCs1Message) {
    cs1.HandleEvent(w, l);
  } else if (msg == kCs2Message) {
    cs2.HandleEvent(w, l);
  } else {
    return false;
  }
  result = 0;
  return true;
}

// ---- the wait ----

void TTmxFtp::BeginState(int state) {
  ResultStr.clear();
  ftpState = state;
  Timer1.SetInterval(timeOutMs_);
  Timer1.SetEnabled(true);
}

void TTmxFtp::SendLine(const std::string& text) {
  std::string line = text + "\r\n";
  cs1.Send(line.data(), static_cast<int>(line.size()));  // a line that does not go out ends by time-out
}

namespace {
constexpr int kMessagesPerPoll = 64;
}  // namespace

int TTmxFtp::WaitWhilePending() {
  while (ftpState > 0) {
    Sleep(1);
    // A bounded batch, then the due timers: timers come only when no other
    // message waits, and a flood of socket events must not hold back the
    // time-out or the program's own timers for a whole transfer.
    forms::Application::Instance().ProcessMessages(kMessagesPerPoll);
    MSG timer;
    while (ftpState > 0 && PeekMessageA(&timer, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) DispatchMessageA(&timer);
  }
  Timer1.SetEnabled(false);
  return ftpState;
}

int TTmxFtp::ftpWaitState(int state, const std::string& command) {
  BeginState(state);
  SendLine(command);
  return WaitWhilePending();
}

bool TTmxFtp::ReplyIs(const char* code) const {
  return !ResultStr.empty() && ResultStr[0].compare(0, 3, code) == 0;
}

bool TTmxFtp::Answered(const char* code) const { return ftpLoggedIn == 1 && ReplyIs(code); }

bool TTmxFtp::CheckInput(std::initializer_list<const std::string*> operands) {
  if (!ParseFtpTimeOut(TimeOut, timeOutMs_)) {
    fncWriteFtpLog("TimeOut is not a number.");
    return false;
  }
  for (const std::string* operand : operands) {
    if (!IsSafeFtpOperand(*operand)) {
      fncWriteFtpLog("operand holds CR, LF or NUL; nothing sent.");
      return false;
    }
  }
  return true;
}

// ---- control connection events ----

void TTmxFtp::cs1Connect() { fncWriteFtpLog("FTP path CS1 Connecting!"); }

void TTmxFtp::cs1Read() {
  char buffer[kControlReadSize + 1] = {};
  int received = cs1.Receive(buffer, kControlReadSize);
  if (received <= 0) return;
  std::string text(buffer, strnlen(buffer, static_cast<size_t>(received)));
  if (LogsDataReceived(ftpVariant)) fncWriteFtpLog("FTP path DataReceived!");
  fncWriteFtpLog("CS1 " + text);
  for (FtpReplyLine& line : replies_.Feed(text.data(), text.size())) {
    ResultStr.push_back(line.text);
    if (!line.replyEnd || ftpState <= 0) continue;
    switch (ControlReplyAction(ftpState, line.code)) {
      case ReplyAction::Done:
        ftpState = kFtpDone;
        break;
      case ReplyAction::LoggedIn:
        ResultStr.assign(1, "230");
        ftpState = kFtpDone;
        break;
      case ReplyAction::Failed:
        fncWriteFtpLog("FTP transfer refused.");
        ftpState = kFtpFailed;
        break;
      case ReplyAction::Keep:
        break;
    }
  }
}

// Also runs when the program closes the connection itself (CloseControl).
void TTmxFtp::cs1Disconnect() {
  fncWriteFtpLog("FTP path CS1 disconnected!");
  if (ftpLoggedIn == 1) {
    char buffer[kControlReadSize];
    while (cs1.Receive(buffer, kControlReadSize) > 0) {
    }
  }
  cs1.Close();
}

void TTmxFtp::CloseControl() {
  if (cs1.Active()) cs1Disconnect();
}

void TTmxFtp::cs1Error(int) {
  fncWriteFtpLog("FTP path error!");
  ftpState = kFtpFailed;
}

void TTmxFtp::Timer1Timer() {
  Timer1.SetEnabled(false);
  fncWriteFtpLog("FTP path timeout!");
  ftpState = kFtpTimedOut;
}

void TTmxFtp::conTimerTimer() {
  conTimer.SetEnabled(false);
  replies_.Reset();
  cs1.Open(Handle(), kCs1Message);
}

// ---- operations ----

int TTmxFtp::LoginAttempt() {
  fncWriteFtpLog("Login Start");
  BeginState(kFtpGreeting);
  conTimer.SetEnabled(true);
  int state = WaitWhilePending();
  conTimer.SetEnabled(false);
  if (state < 0) {
    fncWriteFtpLog("Login Error at CS1 Connect");
    return state;
  }
  if (ResultStr.empty() || ResultStr[0].find("220 ") == std::string::npos) {
    fncWriteFtpLog("Login Error at CS1 Not 220");
    return -1;
  }
  state = ftpWaitState(kFtpUser, "user " + userid);
  if (state < 0 || ResultStr.empty() || ResultStr[0].compare(0, 1, "3") != 0) {
    fncWriteFtpLog("Login Error at USER");
    return state < 0 ? state : -1;
  }
  return CommandStep(kFtpPass, "pass " + passwd, "230", "Login Error at PASS", "Login Error at PASS");
}

int TTmxFtp::FtpLogin() {
  if (ftpLoggedIn == 1) return 0;
  if (!CheckInput({&host, &userid, &passwd})) return -1;
  cs1.Host = host;
  cs1.Port = 21;
  int result = -1;
  for (int attempt = 0; attempt < kLoginAttempts; ++attempt) {
    result = LoginAttempt();
    if (result == 0) {
      fncWriteFtpLog("Login Complete");
      ftpLoggedIn = 1;
      return 0;
    }
    CloseControl();
    Sleep(500);
  }
  return result;
}

int TTmxFtp::CommandStep(int state, const std::string& command, const char* code, const char* errorLine,
                         const char* notLine, bool optional) {
  int result = ftpWaitState(state, command);
  if (result < 0) {
    fncWriteFtpLog(errorLine);
    return result;
  }
  if (!ReplyIs(code)) {
    fncWriteFtpLog(notLine);
    return optional ? 0 : -1;
  }
  return 0;
}

int TTmxFtp::RenameSteps(const std::string& from, const std::string& to) {
  int result = CommandStep(kFtpRnfr, "RNFR " + from, "350", "Rename error at RNFR", "Rename error at RNFR not 350");
  if (result != 0) return result;
  return CommandStep(kFtpRnto, "RNTO " + to, "250", "Rename error at RNTO", "Rename error at RNTO at 250");
}

int TTmxFtp::Ended(int result, const char* endLine) {
  if (result == 0) fncWriteFtpLog(endLine);
  return result;
}

bool TTmxFtp::CheckLoggedIn() {
  if (ftpLoggedIn == 1) return true;
  fncWriteFtpLog("not connect.");
  return false;
}

bool TTmxFtp::CheckGiven(const std::string& operand, const char* line) {
  if (!operand.empty()) return true;
  fncWriteFtpLog(line);
  return false;
}

int TTmxFtp::FtpChDir() {
  fncWriteFtpLog("CHDIR start ->" + path);
  if (!CheckGiven(path, "CHDIR error at first") || !CheckLoggedIn() || !CheckInput({&path})) return -1;
  return Ended(CommandStep(kFtpCwd, "cwd " + path, "250", "CHDIR error at CWD", "CHDIR error at not 250"),
               "CHDIR end.");
}

int TTmxFtp::FtpMkDir() {
  fncWriteFtpLog("MkDir start.");
  if (!CheckLoggedIn() || !CheckGiven(path, "MkDir error at first.") || !CheckInput({&path})) return -1;
  return Ended(CommandStep(kFtpMkd, "MKD " + path, "257", "MkDir error at MKD", "MkDir error at MKD not 257"),
               "MkDir end.");
}

int TTmxFtp::FtpDelete() {
  fncWriteFtpLog("Delete start.");
  if (!CheckLoggedIn() || !CheckGiven(filename, "Delete error at first.") || !CheckInput({&filename})) return -1;
  return Ended(CommandStep(kFtpDele, "DELE " + filename, "250", "Delete error at DELE", "Delete error at DELE not 250"),
               "Delete end.");
}

int TTmxFtp::FtpRename() {
  fncWriteFtpLog("Rename start.");
  if (!CheckLoggedIn() || !CheckGiven(filename, "Rename error at first.1.") ||
      !CheckGiven(fileNameTo, "Rename error at first.2.") || !CheckInput({&filename, &fileNameTo})) {
    return -1;
  }
  return Ended(RenameSteps(filename, fileNameTo), "Rename end.");
}

void TTmxFtp::FtpDisconnect() {
  fncWriteFtpLog("Disconnect start.");
  ResultStr.clear();
  conTimer.SetEnabled(false);
  CloseControl();
  if (ftpState > 0) {
    fncWriteFtpLog("Disconnect at command progress.");
    ftpState = kFtpFailed;
    cs2.Close();
  }
  fncWriteFtpLog("Disconnect end.");
  ftpLoggedIn = 0;
}
