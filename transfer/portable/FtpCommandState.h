// Command states of the transfer client and what ends each one.
#pragma once

namespace transfer {

// Values of ftpState: positive while a command waits.
enum FtpState : int {
  kFtpTimedOut = -9,
  kFtpFailed = -1,
  kFtpDone = 0,
  kFtpGreeting = 1,
  kFtpUser = 2,
  kFtpPass = 3,
  kFtpPasv = 4,
  kFtpType = 5,
  kFtpList = 6,
  kFtpListOpening = 7,
  kFtpListEnding = 8,
  kFtpCwd = 9,
  kFtpRetr = 10,
  kFtpRetrOpening = 11,
  kFtpRetrEnding = 12,
  kFtpSize = 13,
  kFtpStor = 14,
  kFtpRnfr = 15,
  kFtpRnto = 16,
  kFtpDele = 17,
  kFtpMkd = 18,
  kFtpStorSent = 19,
};

enum class ReplyAction {
  Keep,      // not the awaited reply: keep waiting
  Done,      // the wait ends (state 0)
  LoggedIn,  // as Done, and the reply text becomes the single line "230"
  Failed,    // the server refused the transfer (state -1)
};

// What a complete control reply with `code` does in `state`.
ReplyAction ControlReplyAction(int state, int code);

// States in which data arriving on the data connection goes to the local file.
bool DataGoesToFile(int state);

// The state after the data connection closed in `state`; `endSeen` tells
// whether the "226 " reply came already. Returns `state` when the close does
// not end a transfer.
int StateAfterDataClose(int state, bool endSeen);

}  // namespace transfer
