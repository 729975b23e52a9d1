#include "manager/portable/IniText.h"

#include <cctype>

#include "common/portable/TextLines.h"
#include "manager/portable/NameText.h"

namespace {

// The parts of a "key=value" line; false when the line has no "=".
bool SplitLine(const std::string& line, std::string& key, std::string& value) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  key = line.substr(0, equals);
  value = line.substr(equals + 1);
  return true;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

IniText::IniText(const std::string& text) {
  Section* current = nullptr;
  for (const std::string& raw : SplitTextLines(text)) {
    const std::string line = TrimText(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      const std::string name = TrimText(line.substr(1, line.size() - 2));
      current = Find(name);
      if (!current) current = &Add(name);
      continue;
    }
    if (!current) continue;
    std::string key, value;
    if (SplitLine(line, key, value))
      current->lines.push_back(TrimText(key) + "=" + TrimText(value));
    else
      current->lines.push_back(line);
  }
}

IniText::Section& IniText::Add(const std::string& section) {
  index_.emplace(Lower(section), sections_.size());
  sections_.push_back(Section{section, {}});
  return sections_.back();
}

IniText::Section* IniText::Find(const std::string& section) {
  auto at = index_.find(Lower(section));
  return at == index_.end() ? nullptr : &sections_[at->second];
}

const IniText::Section* IniText::Find(const std::string& section) const {
  auto at = index_.find(Lower(section));
  return at == index_.end() ? nullptr : &sections_[at->second];
}

bool IniText::HasSection(const std::string& section) const { return Find(section) != nullptr; }

std::string IniText::Read(const std::string& section, const std::string& key, const std::string& fallback) const {
  const Section* s = Find(section);
  if (!s) return fallback;
  for (const std::string& line : s->lines) {
    std::string k, v;
    if (SplitLine(line, k, v) && SameText(k, key)) return v;
  }
  return fallback;
}

void IniText::Write(const std::string& section, const std::string& key, const std::string& value) {
  Section* s = Find(section);
  if (!s) s = &Add(section);
  for (std::string& line : s->lines) {
    std::string k, v;
    if (SplitLine(line, k, v) && SameText(k, key)) {
      line = k + "=" + value;
      return;
    }
  }
  s->lines.push_back(key + "=" + value);
}

std::vector<std::string> IniText::Sections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

std::string IniText::Text() const {
  std::string text;
  for (const Section& s : sections_) {
    text += "[" + s.name + "]\r\n";
    for (const std::string& line : s.lines) text += line + "\r\n";
    text += "\r\n";
  }
  return text;
}

void IniText::Remove(const std::string& section) {
  const Section* s = Find(section);
  if (!s) return;
  sections_.erase(sections_.begin() + (s - sections_.data()));
  index_.clear();
  for (size_t i = 0; i < sections_.size(); ++i) index_.emplace(Lower(sections_[i].name), i);
}
