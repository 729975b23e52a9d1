#include "transfer/portable/FtpReplyAssembler.h"

#include <cstring>
#include <utility>

namespace transfer {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A guard against a server that never sends a line break.
constexpr std::size_t kMaxLine = 64 * 1024;

}  // namespace

int FtpLineCode(const std::string& line) {
  if (line.size() < 3 || !IsDigit(line[0]) || !IsDigit(line[1]) || !IsDigit(line[2])) return -1;
  if (line.size() > 3 && line[3] != ' ' && line[3] != '-') return -1;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

bool FtpLinesHoldReply(const std::vector<std::string>& lines, const char* code) {
  std::size_t length = std::strlen(code);
  for (const std::string& line : lines) {
    if (line.size() > length && line.compare(0, length, code) == 0 && line[length] == ' ') return true;
  }
  return false;
}

FtpReplyLine FtpReplyAssembler::TakeLine(std::string& text) {
  FtpReplyLine line;
  int code = FtpLineCode(text);
  bool hyphen = code >= 0 && text.size() > 3 && text[3] == '-';
  if (multiLineCode_ < 0) {
    if (hyphen) {
      multiLineCode_ = code;
    } else if (code >= 0) {
      line.replyEnd = true;
      line.code = code;
    }
  } else if (code == multiLineCode_ && !hyphen) {
    multiLineCode_ = -1;
    line.replyEnd = true;
    line.code = code;
  }
  line.text = std::move(text);
  return line;
}

std::vector<FtpReplyLine> FtpReplyAssembler::Feed(const char* data, std::size_t size) {
  std::vector<FtpReplyLine> lines;
  for (std::size_t i = 0; i < size; ++i) {
    char c = data[i];
    if (c == '\n') {
      if (!partial_.empty() && partial_.back() == '\r') partial_.pop_back();
      lines.push_back(TakeLine(partial_));
      partial_.clear();
    } else if (partial_.size() < kMaxLine) {
      partial_ += c;
    }
  }
  return lines;
}

void FtpReplyAssembler::Reset() {
  partial_.clear();
  multiLineCode_ = -1;
}

}  // namespace transfer
