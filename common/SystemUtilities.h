// File and system utilities that the client, the manager and the updater
// share. None of them raises.
#pragma once
#include <windows.h>

#include <string>

// The Windows computer name; "" on failure.
std::string fncGetComputerName(std::string& name);

// Up to three tries 100 ms apart; the result of the last try.
bool fncDeleteFile(const std::string& path);
bool fncCopyFile(const std::string& source, const std::string& target, bool failIfExists);

// The text mapped by LCMapString of the system locale (LCMAP_UPPERCASE,
// LCMAP_LOWERCASE, ...); the text unchanged when the mapping fails.
std::string fncMapString(const std::string& text, DWORD flags, std::string& result);

// Shell folder of a CSIDL (35 common application data, 5 documents)
// without a trailing "\"; "" on failure.
std::string fncGetSpecialFolder(int folderId, std::string& path);
