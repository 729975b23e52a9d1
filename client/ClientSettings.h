// Section [KESTRO] of <data>Kestro.ini and the settings variables.
#pragma once
#include "client/SettingsValues.h"

// Fills gSettings from the file (gIniPath), with defaults for what is
// missing, creates the default store folders and logs the values. Returns
// true; throws std::runtime_error with the cause when a folder cannot be
// made or the file cannot be read.
bool fncSysRead();

// Writes all 27 keys from gSettings in their fixed order and flushes the
// file. Returns true; throws std::runtime_error when a key cannot be written.
bool fncSysWrite();
