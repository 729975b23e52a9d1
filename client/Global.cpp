#include "client/Global.h"

bool gStartComplete = false;
bool gClosing = false;
int gTrayState = kTrayNormal;

std::string gDataDir;
std::string gDocDir;
std::string gExeDir;
std::string gIniPath;
std::string gComputerName;
