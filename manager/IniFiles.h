// INI files of the manager, each call on its own copy of the file in
// memory. A try that fails (file locked, no permission) is repeated up to
// five times 300 ms apart without processing messages; after the fifth the
// box "INIファイルの操作に失敗しました。権限がありません。" is shown.
#pragma once
#include <string>
#include <vector>

// The value; "" when the file or key is missing (no retry) and after the box.
std::string IniReadString(const std::string& file, const std::string& section, const std::string& key);
// The same, false after the box (value then "").
bool IniTryReadString(const std::string& file, const std::string& section, const std::string& key,
                      std::string& value);
// Writes one value and saves the file (created when missing): 0, or -1 after the box.
int IniWriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value);
// The same key and value into every listed section, saved once: 0 / -1.
int IniWriteAllSections(const std::string& file, const std::vector<std::string>& sections, const std::string& key,
                        const std::string& value);
// The file's section names: 0; a missing file leaves {"error"} and gives -1
// at once; -1 after the box.
int IniGetList(const std::string& file, std::vector<std::string>& list);

class IniText;
// The whole file into ini (empty when the file is missing): 0, or -1 after the box.
int IniLoadText(const std::string& file, IniText& ini);
// Saves ini as the whole file: 0, or -1 after the box.
int IniSaveText(const std::string& file, const IniText& ini);

// Values of the catalogue keys, one entry per section.
struct IniCatalogueValues {
  std::vector<std::string> STATUS, READ, IMPORTANT, FILESIZE, FILETYPE, COMMENT, PROJECT, OPERATION;
};
// Appends each listed section's values (missing keys ""); a missing file
// appends nothing. 0, or -1 after the box.
int IniGetCatalogue(const std::string& file, const std::vector<std::string>& sections, IniCatalogueValues& values);
// Writes STATUS, FILESIZE, FILETYPE, COMMENT, PROJECT and OPERATION of each
// named section (trimmed; empty names skipped) from the same index of the
// values; READ and IMPORTANT stay. Saved once: 0 / -1.
int IniPutCatalogue(const std::string& file, const std::vector<std::string>& sections,
                    const IniCatalogueValues& values);
