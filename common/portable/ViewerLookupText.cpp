#include "common/portable/ViewerLookupText.h"

namespace viewer {

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

bool IsPlaceholder(const std::string& command, size_t at) {
  if (command[at] != '%' || at + 1 >= command.size()) return false;
  char next = command[at + 1];
  return next == '1' || next == 'L' || next == 'l';
}

}  // namespace

std::string RelayBatchPath(const std::string& dataDir, const std::string& workFolder) {
  return dataDir + workFolder + kBatchFile;
}

std::string RelayIniPath(const std::string& dataDir, const std::string& workFolder) {
  return dataDir + workFolder + kRelayFile;
}

std::string RelayBatchText(const std::string& relayIniPath) {
  const std::string target = Quoted(relayIniPath) + "\r\n";
  return "echo [relay]>" + target + "ftype htmlfile>>" + target + "ftype giffile>>" + target +
         "ftype jpegfile>>" + target;
}

std::string RelayBatchCommandLine(const std::string& batchPath) { return Quoted(batchPath); }

std::string RelayCommand(const std::string& value) { return value == kNoCommand ? "" : value; }

std::string ViewerCommandLine(const std::string& command, const std::string& picturePath) {
  // "%" and the placeholder letters never occur as the second byte of a
  // code page 932 character, so a byte scan is safe.
  std::string line;
  bool replaced = false;
  for (size_t at = 0; at < command.size(); ++at) {
    if (!IsPlaceholder(command, at)) {
      line += command[at];
      continue;
    }
    bool inQuotes = at > 0 && command[at - 1] == '"' && at + 2 < command.size() && command[at + 2] == '"';
    line += inQuotes ? picturePath : Quoted(picturePath);
    replaced = true;
    ++at;
  }
  if (!replaced) line += " " + Quoted(picturePath);
  return line;
}

}  // namespace viewer
