#include "transfer/portable/FtpCommandState.h"

namespace transfer {

ReplyAction ControlReplyAction(int state, int code) {
  switch (state) {
    case kFtpGreeting:
    case kFtpUser:
    case kFtpPasv:
    case kFtpType:
    case kFtpCwd:
    case kFtpSize:
    case kFtpRnfr:
    case kFtpRnto:
    case kFtpDele:
    case kFtpMkd:
      return ReplyAction::Done;
    case kFtpPass:
      return code == 230 ? ReplyAction::LoggedIn : ReplyAction::Keep;
    case kFtpList:
    case kFtpRetr:
      // The end of the data connection decides; a refusal ends it at once.
      return code >= 400 ? ReplyAction::Failed : ReplyAction::Keep;
    case kFtpListEnding:
    case kFtpRetrEnding:
    case kFtpStor:
      if (code == 226) return ReplyAction::Done;
      if (code >= 400) return ReplyAction::Failed;
      return ReplyAction::Keep;  // 1xx marks and other positive replies
    default:
      return ReplyAction::Keep;
  }
}

bool DataGoesToFile(int state) {
  return state == kFtpList || state == kFtpListOpening || state == kFtpRetr || state == kFtpRetrOpening;
}

int StateAfterDataClose(int state, bool endSeen) {
  switch (state) {
    case kFtpList:
    case kFtpListOpening:
    case kFtpRetr:
      return endSeen ? kFtpDone : kFtpListEnding;
    case kFtpRetrOpening:
      return endSeen ? kFtpDone : kFtpRetrEnding;
    default:
      return state;
  }
}

}  // namespace transfer
