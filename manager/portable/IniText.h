// An INI file held in memory: sections in file order, each with its lines.
// Section names and keys compare without regard to ASCII case. Comment
// lines (";") and blank lines are dropped, as are lines before the first
// section; other lines are kept in place.
#pragma once
#include <string>
#include <unordered_map>
#include <vector>

class IniText {
 public:
  IniText() = default;
  explicit IniText(const std::string& text);

  bool HasSection(const std::string& section) const;
  // The value of the key, or fallback when the section or key is missing.
  std::string Read(const std::string& section, const std::string& key, const std::string& fallback = "") const;
  // Sets the key, adding the section and the key at their ends when missing.
  void Write(const std::string& section, const std::string& key, const std::string& value);
  std::vector<std::string> Sections() const;
  // Drops the section and its lines; nothing when it is missing.
  void Remove(const std::string& section);

  // "[name]" CR LF, its lines, a blank line, for each section.
  std::string Text() const;

 private:
  struct Section {
    std::string name;
    std::vector<std::string> lines;  // "key=value" or other text
  };
  Section* Find(const std::string& section);
  const Section* Find(const std::string& section) const;

  Section& Add(const std::string& section);
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> index_;  // lower-cased name -> position
};
