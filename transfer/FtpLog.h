// The FTP log: base + "syslog\FTP<yyyymmdd>.txt", one line per step.
#pragma once
#include <string>

#include "transfer/portable/FtpVariant.h"

// Base folder of the FTP log and of "Temp\dirlist.tmp", ending in "\"; the
// host program sets it at start-up to its data folder. While it is empty
// nothing is logged.
extern std::string ftpLogDir;
// The program that carries the module; set at start-up with ftpLogDir.
extern transfer::FtpVariant ftpVariant;

// Appends one line; a failed open or write loses the line silently.
void fncWriteFtpLog(const std::string& message);
