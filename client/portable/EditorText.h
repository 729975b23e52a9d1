// Text rules of the picture editor: the framed-text layout and the number
// of the numbered icon.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "client/portable/EditorGeometry.h"

struct TextExtent {
  int width = 0;
  int height = 0;
};

struct FramedTextLayout {
  // Corners of the rounded box as drawn; with no text they are the press and
  // release points unsorted.
  EditorPoint boxFrom;
  EditorPoint boxTo;
  // Where each line is written, one per input line (empty lines included).
  std::vector<EditorPoint> lineOrigins;
};

// Lays the lines out from the upper-left corner of the drag: the box is as
// wide as the longest line (in bytes, the first on ties) plus 3 and as high
// as that line times the non-empty lines plus 3; line i is written at
// top + 1 + i x its own height.
FramedTextLayout LayoutFramedText(const std::vector<std::string>& lines, EditorPoint press, EditorPoint release,
                                  const std::function<TextExtent(const std::string&)>& measure);

// The number of the numbered icon: right-aligned in two characters with a
// blank, longer numbers in full (" 9", "10", "123", "-1").
std::string SerialText(int serial);

// "［連番］アイコン記録機能（" + serial + "から）": the menu item of the numbered icon.
std::string SerialMenuCaption(int serial);
