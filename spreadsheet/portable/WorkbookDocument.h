// What the stand-in spreadsheet application keeps of a workbook. All texts
// are UTF-8.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "spreadsheet/portable/CellAddress.h"

namespace spreadsheet {

struct Cell {
  std::string format;     // number format; "" is General, "@" is text
  bool isNumber = false;  // value holds a number in canonical decimal text
  std::string value;
  bool isFormula = false;  // value holds a formula ("=..."), never computed
};

struct Picture {
  std::string source;  // the inserted file, or "<clipboard>" for a paste
  double left = 0, top = 0, width = 0, height = 0;  // points
  bool embedded = true;  // false: only a link to source
  // While the workbook is open only, not in its file.
  double originalWidth = 0, originalHeight = 0;
  bool lockAspectRatio = true;
};

struct Hyperlink {
  CellAddress anchor;
  std::string address;
  std::string subAddress;
  std::string text;
};

struct PageSetup {
  int orientation = 1;  // 1 portrait, 2 landscape
  int fitToPagesWide = 1;
  int fitToPagesTall = 1;
  int zoom = 100;  // percent; 0 stands for False: the page counts decide
};

struct Sheet {
  std::string name;
  PageSetup pageSetup;
  std::map<CellAddress, Cell> cells;
  std::vector<Picture> pictures;
  std::vector<Hyperlink> hyperlinks;
};

struct WorkbookDocument {
  std::string password;  // empty: not protected
  std::vector<Sheet> sheets;
};

// Worksheet names: 1 to 31 characters, none of : \ / ? * [ ], not starting or
// ending with an apostrophe.
bool IsValidSheetName(const std::string& utf8Name, std::string& error);
// Sheet names compare without regard to ASCII case.
bool SameSheetName(const std::string& a, const std::string& b);

}  // namespace spreadsheet
