// libFuzzer harness: the control-reply assembler, the PASV parse and the
// log line cut, fed with arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "transfer/portable/FtpCommandState.h"
#include "transfer/portable/FtpLogLine.h"
#include "transfer/portable/FtpPasvReply.h"
#include "transfer/portable/FtpReplyAssembler.h"

using namespace transfer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char* text = reinterpret_cast<const char*>(data);
  // The first byte chooses where the stream is split into two reads.
  size_t split = data[0] % size;
  FtpReplyAssembler assembler;
  size_t lineCount = 0;
  for (auto part : {std::string(text + 1, split > 0 ? split - 1 : 0), std::string(text + (split ? split : 1), size - (split ? split : 1))}) {
    for (const FtpReplyLine& line : assembler.Feed(part.data(), part.size())) {
      ++lineCount;
      if (line.replyEnd != (line.code >= 0) || line.code > 999) abort();
      if (line.text.find('\n') != std::string::npos) abort();
      ControlReplyAction(data[0] % 24 - 9, line.code);
      FtpDataAddress address;
      if (ParsePasvReply(line.text, address) == PasvParse::Ok) {
        if (address.port < 1 || address.port > 65535 || address.ip.size() < 7 || address.ip.size() > 15) abort();
      }
    }
  }
  (void)lineCount;
  FtpDataAddress address;
  ParsePasvReply(std::string(text, size), address);
  std::string line = FormatFtpLogLine(FtpLogTime{2026, 1, 1, 0, 0, 0, 0}, std::string(text, size));
  if (line.size() > kMaxLogLineBytes + 2 || line.compare(line.size() - 2, 2, "\r\n") != 0) abort();
  return 0;
}
