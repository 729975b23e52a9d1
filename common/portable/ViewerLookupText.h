// Texts of the viewer command lookup: the batch file Go.bat that collects
// the open commands of "ftype" into Relay.ini, and the command line that
// starts a viewer on a picture. Client and manager share both files in the
// work folder of the data folder.
#pragma once
#include <string>

namespace viewer {

inline constexpr char kBatchFile[] = "Go.bat";
inline constexpr char kRelayFile[] = "Relay.ini";
inline constexpr char kRelaySection[] = "RELAY";
// The value that counts as no command.
inline constexpr char kNoCommand[] = "error";

// dataDir ends in "\"; workFolder is the client's "temp\" or the manager's "Temp\".
std::string RelayBatchPath(const std::string& dataDir, const std::string& workFolder);
std::string RelayIniPath(const std::string& dataDir, const std::string& workFolder);

// The four CR LF lines of Go.bat, each redirecting into the quoted Relay.ini path.
std::string RelayBatchText(const std::string& relayIniPath);

// The batch file's path in double quotes: a bare path with blanks would let
// Windows start a program named by its first word.
std::string RelayBatchCommandLine(const std::string& batchPath);

// The open command of a Relay.ini value, or "" for an empty value or "error".
std::string RelayCommand(const std::string& value);

// The command line that opens picturePath with the open command: each
// placeholder %1 (or %L) becomes the path, quoted unless the placeholder
// already stands in quotes; without a placeholder a blank and the quoted
// path are appended.
std::string ViewerCommandLine(const std::string& command, const std::string& picturePath);

}  // namespace viewer
