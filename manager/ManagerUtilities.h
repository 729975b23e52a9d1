// System queries and the work-folder clean-up of the manager.
#pragma once
#include <string>

// The computer name, trimmed and upper-cased; "" when it cannot be had.
std::string fncGetComputerNameUpper();
// The viewer command of a file type from <data>Temp\Relay.ini, or "" (also
// when this process's Go.bat did not write the file).
std::string fncGetRelay(const std::string& name);
// Deletes the manager's own work files from <data>Temp\ (the client's stay)
// and removes the folder when nothing is left in it.
void fncCleanUpTemp();
// Deletes a work file, read-only or not; nothing when it is not there.
void DeleteWorkFile(const std::string& path);
// Writes the bytes to path + ".tmp" beside the file, then puts that file in
// its place in one step. False when either fails; the old file is then
// left as it was.
bool WriteFileReplacing(const std::string& path, const std::string& bytes);
// The same with a copy of source: target + ".tmp", then the replace.
bool CopyFileReplacing(const std::string& source, const std::string& target);
