// The viewer command lookup: Go.bat asks the command interpreter's "ftype"
// for the open commands of htmlfile, giffile and jpegfile and collects them
// in Relay.ini, from which the command of a file type is read later. Free
// functions so that client and manager share them; each program passes its
// data folder, its work folder name and its log writer.
#pragma once
#include <functional>
#include <string>

// Receives one log line: the routine's name and its detail.
using ViewerLog = std::function<void(const std::string&)>;

// Creates the work folder, writes <dataDir><workFolder>Go.bat, removes the
// old Relay.ini and starts the batch hidden without waiting. False, after
// logging the reason, when the folder or the file cannot be made, Relay.ini
// cannot be removed or the batch does not start.
bool fncSetRelay(const std::string& dataDir, const std::string& workFolder, const ViewerLog& log);

// Relay.ini is used only as this process's Go.bat wrote it: after the old
// file was removed, and not before Go.bat was started.
bool RelayIniTrusted(const std::string& iniPath);
// Logged when it is not.
inline constexpr char kUntrusted[] = "Go.batが作成していないRelay.iniは使いません:";

// The open command of the file type `name` in [RELAY] of Relay.ini, or ""
// when the name is empty, the file or key is missing, the file is not
// trusted (logged) or the value is "error".
std::string fncGetRelay(const std::string& dataDir, const std::string& workFolder, const std::string& name,
                        const ViewerLog& log);
