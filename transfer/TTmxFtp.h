// The FTP client module: a hidden form whose fields are the parameters of
// blocking FTP calls (passive mode, control connection to port 21). Each call
// waits with its own time-out while the message loop keeps running.
// Results: 0 success, -1 reply or input error, -9 time-out.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "forms/Form.h"
#include "forms/Timer.h"
#include "transfer/FtpSocket.h"
#include "transfer/portable/FtpReplyAssembler.h"

class TTmxFtp : public forms::Form {
 public:
  TTmxFtp();
  ~TTmxFtp() override;
  // Creates the hidden window that receives the socket events.
  bool Create();

  // Parameters, set before a call.
  std::string host, userid, passwd, TimeOut, path, filename, localFileName, fileNameTo;
  // Control text received since the current command was sent, line by line.
  std::vector<std::string> ResultStr;
  std::vector<std::string> Memo1;  // spare work list of the host program
  std::vector<std::string> Memo2;  // lines of the last listing
  std::string fileSize, getSize, DataTargIp, DataTargPort;

  transfer::FtpSocket cs1;  // control connection
  transfer::FtpSocket cs2;  // passive data connection
  forms::Timer Timer1;      // time-out of the current wait
  forms::Timer conTimer;    // opens cs1 shortly after FtpLogin asked for it

  int FtpLogin();
  int FtpChDir();
  int FtpMkDir();
  int FtpDelete();
  int FtpRename();
  void FtpDisconnect();
  int FtpDir();
  int FtpDownload();
  int FtpUpload();
  // The server, still logged in, answered the last command with 550: the
  // file or folder is not there (as opposed to a failed transfer).
  bool AnsweredMissing() const { return ftpLoggedIn && ReplyIs("550"); }

  // Connection state, one per process.
  static int ftpState;
  static int ftpLoggedIn;
  static HANDLE ftpDataFile;

 protected:
  void FormCreate() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  // Window messages of the two sockets' events.
  static constexpr UINT kCs1Message = WM_USER + 101;
  static constexpr UINT kCs2Message = WM_USER + 102;

  void cs1Connect();
  void cs1Read();
  void cs1Disconnect();
  void cs1Error(int error);
  // The program's own close of the control connection: cs1Disconnect when open.
  void CloseControl();
  void cs2Connect();
  void cs2Read();
  void cs2Disconnect();
  void cs2Error(int error);
  void Timer1Timer();
  void conTimerTimer();

  // The wait: clears ResultStr, sets the state, restarts Timer1.
  void BeginState(int state);
  void SendLine(const std::string& text);
  // Processes messages, 1 ms apart, while the state is positive.
  int WaitWhilePending();
  // BeginState, send, wait; returns ftpState.
  int ftpWaitState(int state, const std::string& command);
  // The first three characters of line 0 of ResultStr equal `code`.
  bool ReplyIs(const char* code) const;

  // One command whose reply must begin with `code`: on a failed wait logs
  // `errorLine` and returns the state; on another code logs `notLine` and
  // returns -1 (or, when `optional`, goes on with 0).
  int CommandStep(int state, const std::string& command, const char* code, const char* errorLine,
                  const char* notLine, bool optional = false);
  // Logs `endLine` when the operation's result is 0; returns the result.
  int Ended(int result, const char* endLine);
  // RNFR and RNTO.
  int RenameSteps(const std::string& from, const std::string& to);
  // Logs "not connect." when not logged in.
  bool CheckLoggedIn();
  // Logs `line` when the operand is empty.
  bool CheckGiven(const std::string& operand, const char* line);
  // Checks the time-out text and the operands that go into commands.
  bool CheckInput(std::initializer_list<const std::string*> operands);
  // "pasv", its reply parsed into DataTargIp/DataTargPort and cs2.
  int Pasv(const char* errorLine, const char* not227Line, const char* formatLine, bool logAddress);
  // Opens `file` as ftpDataFile, then the data connection, waiting in
  // `state`; on failure both are closed again.
  int OpenDataTransfer(const std::string& file, int state, const char* fileErrorLine, const char* connectErrorLine,
                       bool removeOnFailure);
  int LoginAttempt();
  void CloseDataFile();
  void AppendDataToFile();
  void SendUploadFile();

  transfer::FtpReplyAssembler replies_;
  unsigned timeOutMs_ = 5000;
};

// The process's one transfer client, created at start-up by the host program.
extern TTmxFtp* TmxFtp;
