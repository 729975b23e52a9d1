// Program-wide state of the client: flags and folders fixed at start.
#pragma once
#include <string>

#include "client/portable/GlobalConstants.h"

// Tray icon states.
enum TrayState { kTrayNormal = 0, kTrayError = 1, kTrayBusy = 2 };

extern bool gStartComplete;  // every form exists
extern bool gClosing;        // the program is ending; never cleared again
extern int gTrayState;       // the state last set

extern std::string gDataDir;       // <common app data>\Veltrana\kestro\ (trailing "\")
extern std::string gDocDir;        // <documents>\Veltrana\kestro\ (only logged)
extern std::string gExeDir;        // folder of the running program (trailing "\")
extern std::string gIniPath;       // gDataDir + "Kestro.ini"
extern std::string gComputerName;  // at most 100 characters
