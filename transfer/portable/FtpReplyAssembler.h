// Assembles the control connection's byte stream into lines and replies.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace transfer {

// One line received; `replyEnd` marks the final line of a reply ("ddd text").
struct FtpReplyLine {
  std::string text;
  bool replyEnd = false;
  int code = -1;  // the reply's code on its final line, else -1
};

class FtpReplyAssembler {
 public:
  // Adds received bytes; returns the lines they complete, in order.
  std::vector<FtpReplyLine> Feed(const char* data, std::size_t size);
  // Forgets a partial line and an open multi-line reply (new connection).
  void Reset();
  bool Pending() const { return !partial_.empty() || multiLineCode_ >= 0; }

 private:
  // Judges the line and moves its text out.
  FtpReplyLine TakeLine(std::string& text);

  std::string partial_;
  int multiLineCode_ = -1;  // code of the open "ddd-" reply, -1 when none
};

// The code at the start of a line ("ddd" followed by a blank, a hyphen or
// nothing), or -1 when the line does not begin with three digits.
int FtpLineCode(const std::string& line);

// True when one of the lines begins with the code followed by a blank.
bool FtpLinesHoldReply(const std::vector<std::string>& lines, const char* code);

}  // namespace transfer
