// Settings of [KESTRO] from the values found in Kestro.ini, with the
// defaults for keys that are missing or empty, or for a missing file.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "client/SettingsValues.h"

struct SettingsContext {
  std::string dataDir;       // <data>, ends in "\"
  std::string computerName;  // default terminal name
  std::string today;         // yyyymmdd
};

// Values as found in the file, by upper-case key; a missing key has no entry.
using RawSettings = std::map<std::string, std::string>;

struct SettingsLoad {
  SettingsValues values;
  std::vector<std::string> foldersToCreate;  // with their parents, in this order
};

// The file exists: missing or empty keys get the defaults of a present file.
SettingsLoad SettingsFromFile(const RawSettings& raw, const SettingsContext& context);
// No file yet: the values of a first start.
SettingsLoad SettingsWithoutFile(const SettingsContext& context);
