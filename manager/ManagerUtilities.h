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
