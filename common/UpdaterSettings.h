// The callers' side of the updater's settings file downloader.ini: the keys
// that the client and the manager write into its section [DOWNLOADER]
// before they start the updater.
#pragma once
#include <string>
#include <utility>
#include <vector>

inline constexpr char kUpdaterSection[] = "DOWNLOADER";
// What a caller tells the user when the keys could not be written.
inline constexpr char kUpdaterIniUnwritable[] = "バージョンアップ設定ファイルに書き込めません";

// Writes the keys in their order into [DOWNLOADER] of `ini` and flushes the
// file. False at the first key that cannot be written: the caller then
// says so and starts no updater, which would install the wrong program.
bool fncWriteUpdaterKeys(const std::string& ini, const std::vector<std::pair<const char*, const char*>>& keys);
