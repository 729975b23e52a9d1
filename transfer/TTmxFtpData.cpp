// TTmxFtp: PASV, the data connection and the listing, download and upload.
#include <fstream>
#include <sstream>

#include "transfer/FtpLog.h"
#include "common/FileSystem.h"
#include "common/portable/FolderText.h"
#include "transfer/TTmxFtp.h"
#include "transfer/portable/FtpCommandState.h"
#include "transfer/portable/FtpPasvReply.h"
#include "common/portable/TextLines.h"

using namespace transfer;

namespace {

constexpr int kDataReadSize = 8192;
constexpr DWORD kUploadChunk = 4096;
constexpr int kBlockedSendRetryMs = 5;

HANDLE CreateDataFile(const std::string& name) {
  return CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

std::string ReadWholeFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

// ---- data connection events ----

void TTmxFtp::CloseDataFile() {
  if (ftpDataFile == INVALID_HANDLE_VALUE) return;
  CloseHandle(ftpDataFile);
  ftpDataFile = INVALID_HANDLE_VALUE;
}

void TTmxFtp::AppendDataToFile() {
  char buffer[kDataReadSize];
  int received = cs2.Receive(buffer, kDataReadSize);
  if (received <= 0 || ftpDataFile == INVALID_HANDLE_VALUE) return;
  SetFilePointer(ftpDataFile, 0, nullptr, FILE_END);
  DWORD written = 0;
  if (!WriteFile(ftpDataFile, buffer, static_cast<DWORD>(received), &written, nullptr) ||
      written != static_cast<DWORD>(received)) {
    fncWriteFtpLog("CS2 write to local file failed!");
    ftpState = kFtpFailed;
  }
}

void TTmxFtp::cs2Connect() {
  fncWriteFtpLog("CS2 Connecting!");
  if (ftpState == kFtpListOpening || ftpState == kFtpRetrOpening) {
    ftpState = kFtpDone;
  } else if (ftpState == kFtpStor) {
    SendUploadFile();
  }
}

void TTmxFtp::cs2Read() {
  if (ftpState == kFtpRetrOpening) {
    Timer1.SetEnabled(false);
    u_long pending = 0;
    while (ftpState == kFtpRetrOpening && ioctlsocket(cs2.Handle(), FIONREAD, &pending) == 0 && pending > 0) {
      AppendDataToFile();
    }
    Timer1.SetEnabled(true);
  } else if (DataGoesToFile(ftpState)) {
    AppendDataToFile();
  }
}

void TTmxFtp::cs2Disconnect() {
  fncWriteFtpLog("CS2 Disconnect");
  if (DataGoesToFile(ftpState)) {
    u_long pending = 0;
    while (DataGoesToFile(ftpState) && ioctlsocket(cs2.Handle(), FIONREAD, &pending) == 0 && pending > 0) {
      AppendDataToFile();
    }
    if (DataGoesToFile(ftpState)) ftpState = StateAfterDataClose(ftpState, FtpLinesHoldReply(ResultStr, "226"));
  }
  cs2.Close();
}

void TTmxFtp::cs2Error(int) {
  fncWriteFtpLog("FTP CS2 path error!");
  ftpState = kFtpFailed;
}

// The whole file goes out inside this event. A blocked send is retried
// until TimeOut has passed without progress; the unsent rest of a chunk is
// sent again, and any other send error fails the upload.
void TTmxFtp::SendUploadFile() {
  HANDLE file = CreateFileA(localFileName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    fncWriteFtpLog("Upload error at FileOpen");
    ftpState = kFtpFailed;
    cs2.Close();
    return;
  }
  char chunk[kUploadChunk];
  DWORD lastProgress = GetTickCount();
  for (;;) {
    DWORD size = 0;
    if (!ReadFile(file, chunk, kUploadChunk, &size, nullptr)) {
      fncWriteFtpLog("Upload error at FileRead");
      ftpState = kFtpFailed;
      break;
    }
    if (size == 0) {
      cs2.ShutdownSend();  // the server sees the end of the data
      break;
    }
    if (ftpState <= 0) break;
    DWORD sent = 0;
    bool retryLogged = false;
    while (sent < size && ftpState > 0) {
      int result = cs2.Send(chunk + sent, static_cast<int>(size - sent));
      if (result > 0) {
        sent += static_cast<DWORD>(result);
        lastProgress = GetTickCount();
        continue;
      }
      int error = WSAGetLastError();
      if (error != WSAEWOULDBLOCK) {
        fncWriteFtpLog("CS2 Send error " + std::to_string(error));
        ftpState = kFtpFailed;
      } else if (GetTickCount() - lastProgress >= timeOutMs_) {
        fncWriteFtpLog("FTP path timeout!");
        ftpState = kFtpTimedOut;
      } else {
        if (!retryLogged) {
          fncWriteFtpLog("SuccessData " + std::to_string(result) + "/" + std::to_string(size - sent) +
                         "CS2 Send Retry.");
          retryLogged = true;
        }
        cs2.WaitWritable(kBlockedSendRetryMs);
      }
    }
    if (ftpState <= 0) break;
  }
  CloseHandle(file);
  cs2.Close();
  if (ftpState > 0) Timer1.SetEnabled(true);  // the end-of-transfer wait starts afresh
}

// ---- operations ----

int TTmxFtp::Pasv(const char* errorLine, const char* not227Line, const char* formatLine, bool logComplete) {
  int state = CommandStep(kFtpPasv, "pasv", "227", errorLine, not227Line);
  if (state != 0) return state;
  if (logComplete) fncWriteFtpLog("PASV complete.");
  FtpDataAddress address;
  if (ParsePasvReply(ResultStr[0], address) != PasvParse::Ok) {
    fncWriteFtpLog(formatLine);
    return -1;
  }
  // Only the port is taken: the data goes to the server of the control
  // connection, whatever address the reply names.
  const std::string server = cs1.PeerAddress();
  if (server.empty()) {
    fncWriteFtpLog(formatLine);
    return -1;
  }
  if (address.ip != server) fncWriteFtpLog("PASV address " + address.ip + " ignored, data to " + server);
  DataTargIp = server;
  DataTargPort = std::to_string(address.port);
  cs2.Host = DataTargIp;
  cs2.Port = address.port;
  return 0;
}

int TTmxFtp::OpenDataTransfer(const std::string& file, int state, const char* fileErrorLine,
                              const char* connectErrorLine, bool removeOnFailure) {
  ftpDataFile = CreateDataFile(file);
  if (ftpDataFile == INVALID_HANDLE_VALUE) {
    fncWriteFtpLog(fileErrorLine);
    return -1;
  }
  BeginState(state);
  cs2.Open(Handle(), kCs2Message);
  int result = WaitWhilePending();
  if (result < 0) {
    CloseDataFile();
    cs2.Close();
    if (removeOnFailure) DeleteFileA(file.c_str());
    fncWriteFtpLog(connectErrorLine);
  }
  return result;
}

int TTmxFtp::FtpDir() {
  fncWriteFtpLog("DIR start");
  if (!CheckGiven(path, "DIR error at first") || !CheckLoggedIn() || !CheckInput({})) return -1;
  int state = Pasv("DIR error at PASV", "DIR error at PASV", "DIR error at PASV", true);
  if (state != 0) return state;
  Memo2.clear();
  std::string workFile = ftpLogDir + "Temp\\dirlist.tmp";
  ForceDirectories(ftpLogDir + "Temp");
  DeleteFileA(workFile.c_str());
  fncWriteFtpLog("TargIP is " + DataTargIp);
  fncWriteFtpLog("TargPort is " + DataTargPort);
  fncWriteFtpLog("IP=" + DataTargIp + ",PORT=" + DataTargPort);
  state = OpenDataTransfer(workFile, kFtpListOpening, "DIR error at FileOpen", "DIR error at CS2 connect", false);
  if (state != 0) return state;
  fncWriteFtpLog("timeOut is " + TimeOut);
  state = ftpWaitState(kFtpList, "list");
  CloseDataFile();
  cs2.Close();
  if (state < 0) {
    fncWriteFtpLog("DIR error at LIST");
    return state;
  }
  if (!FtpLinesHoldReply(ResultStr, "226")) {
    fncWriteFtpLog("DIR error at LIST not 226");
    return -1;
  }
  Memo2 = SplitTextLines(ReadWholeFile(workFile));
  fncWriteFtpLog("DIR end");
  return 0;
}

int TTmxFtp::FtpDownload() {
  fncWriteFtpLog("Download start.");
  if (!CheckLoggedIn() || !CheckGiven(filename, "Download error at first.") ||
      !CheckGiven(localFileName, "Download error at first.2") || !CheckInput({&filename})) {
    return -1;
  }
  int state = CommandStep(kFtpType, "type i", "200", "Download error at TYPE", "Download error at TYPE");
  if (state != 0) return state;
  Memo2.clear();
  state = CommandStep(kFtpSize, "SIZE " + filename, "213", "Download error at SIZE", "Download error at SIZE not 213");
  if (state != 0) return state;
  fileSize = ResultStr[0].size() > 4 ? ResultStr[0].substr(4) : std::string();
  getSize = "0";
  state = Pasv("Download error at PASV", "Download error at PASV not 227", "Download error at PASV", false);
  if (state != 0) return state;
  ForceDirectories(FolderOf(localFileName));
  DeleteFileA(localFileName.c_str());
  state = OpenDataTransfer(localFileName, kFtpRetrOpening, "Download error at FileOpen",
                           "Download error at CS2 Connect", true);
  if (state != 0) return state;
  Memo2.clear();
  state = ftpWaitState(kFtpRetr, "RETR " + filename);
  CloseDataFile();
  cs2.Close();
  if (state < 0) {
    DeleteFileA(localFileName.c_str());
    fncWriteFtpLog("Download error at RETR");
    return state;
  }
  if (!FtpLinesHoldReply(ResultStr, "226")) {
    DeleteFileA(localFileName.c_str());
    fncWriteFtpLog("Download error at RETR not 226");
    return -1;
  }
  fncWriteFtpLog("Download end.");
  return 0;
}

int TTmxFtp::FtpUpload() {
  fncWriteFtpLog("Upload start.");
  if (!CheckLoggedIn() || !CheckGiven(filename, "Upload error at first.1") ||
      !CheckGiven(localFileName, "Upload error at first.2")) {
    return -1;
  }
  if (!FileExists(localFileName)) {
    fncWriteFtpLog("Upload error at first.3");
    return -1;
  }
  if (!CheckInput({&filename})) return -1;
  const std::string temporary = filename + ".tmp";
  fncWriteFtpLog("Try DELE.->" + temporary);
  int state = CommandStep(kFtpDele, "DELE " + temporary, "250", "Delete error at DELE.",
                          "Delete error at DELE not 250. May be not found.", true);
  if (state != 0) return state;
  state = CommandStep(kFtpType, "type i", "200", "Upload error at TYPE", "Upload error at TYPE not 200");
  if (state != 0) return state;
  const bool logAddress = LogsUploadAddress(ftpVariant);
  state = Pasv("Upload error at PASV", "Upload error at PASV not 227", "Upload error at PASV", logAddress);
  if (state != 0) return state;
  if (logAddress) {
    fncWriteFtpLog("CS2 prepare ConnectionInformation complete.");
    fncWriteFtpLog("TargIP is " + DataTargIp);
    fncWriteFtpLog("TargPort is " + DataTargPort);
  }
  Memo2.clear();
  BeginState(kFtpStorSent);
  SendLine("STOR " + temporary);
  fncWriteFtpLog("Upload Connection start.");
  BeginState(kFtpStor);
  cs2.Open(Handle(), kCs2Message);
  state = WaitWhilePending();
  cs2.Close();
  if (state < 0) {
    fncWriteFtpLog("Upload error at CS2 connect");
    return state;
  }
  fncWriteFtpLog("Try DELE.->" + filename);
  state = CommandStep(kFtpDele, "DELE " + filename, "250", "Delete error at DELE.",
                      "Delete error at DELE not 250.if new file,Maybe OK", true);
  if (state != 0) return state;
  state = RenameSteps(temporary, filename);
  if (state != 0) return state;
  fncWriteFtpLog("Upload end.");
  return 0;
}
