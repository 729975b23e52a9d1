#include "client/portable/EditorText.h"

#include <algorithm>
#include <cstdio>

FramedTextLayout LayoutFramedText(const std::vector<std::string>& lines, EditorPoint press, EditorPoint release,
                                  const std::function<TextExtent(const std::string&)>& measure) {
  FramedTextLayout layout;
  int nonEmpty = 0;
  std::size_t longest = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    ++nonEmpty;
    if (lines[i].size() > lines[longest].size()) longest = i;
  }
  const int left = std::min(press.x, release.x);
  const int top = std::min(press.y, release.y);
  if (nonEmpty == 0) {
    layout.boxFrom = press;
    layout.boxTo = release;
  } else {
    const TextExtent extent = measure(lines[longest]);
    layout.boxFrom = EditorPoint{left, top};
    layout.boxTo = EditorPoint{left + extent.width + 3, top + extent.height * nonEmpty + 3};
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int height = measure(lines[i]).height;
    layout.lineOrigins.push_back(EditorPoint{left + 1, top + 1 + static_cast<int>(i) * height});
  }
  return layout;
}

std::string SerialText(int serial) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", serial);
  return text;
}

std::string SerialMenuCaption(int serial) { return "［連番］アイコン記録機能（" + std::to_string(serial) + "から）"; }
