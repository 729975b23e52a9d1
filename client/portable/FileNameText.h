// Checks and clean-up of texts that become parts of file names, and the
// splitting of a path. Code page 932 aware: the second byte of a
// double-byte character is never taken for one of the listed characters.
#pragma once
#include "common/portable/FolderText.h"
#include <string>

inline constexpr size_t kMaxCleanNameChars = 50;

// True for an empty text; false when the text holds any of
// ~ | # / ' " * & % \ . , ? : ; < > _, a blank or a control character.
bool fncChkFileName(const std::string& text);

// Every listed character and every control character removed, then cut to
// its first 50 characters (a double-byte character counts as one).
bool fncCleanFileName(const std::string& text, std::string& result);

// File name part of the path split at its last "." into base and extension
// (extension without the dot, "" when none).
bool fncSplitFileName(const std::string& path, std::string& base, std::string& extension);

// Folder part of a path with its trailing "\" ("" when there is none).
std::string ExtractFilePath(const std::string& path);

