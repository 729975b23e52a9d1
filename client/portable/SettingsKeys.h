// Keys of section [KESTRO] in the order they are written, and how their
// values are turned into text and back.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "client/SettingsValues.h"

inline constexpr char kSettingsSection[] = "KESTRO";
inline constexpr int kSettingsKeyCount = 27;
extern const char* const kSettingsKeys[kSettingsKeyCount];

using SettingsPairs = std::vector<std::pair<std::string, std::string>>;

// All 27 keys with their values as stored: integers as decimal text, texts as they are.
SettingsPairs SettingsKeyValues(const SettingsValues& values);

// A decimal integer (optional blanks and sign before the digits); fallback for
// text that is empty, not a number or outside the 32-bit range.
int ParseSettingsInteger(const std::string& text, int fallback);
