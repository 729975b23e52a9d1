// The lines fncSysRead logs about the settings it has read.
#pragma once
#include <string>
#include <vector>

#include "client/SettingsValues.h"

// fromFile: the values came from an existing Kestro.ini. The password is
// shown only as one "*" per byte.
std::vector<std::string> SettingsReadLogLines(const SettingsValues& values, bool fromFile);
