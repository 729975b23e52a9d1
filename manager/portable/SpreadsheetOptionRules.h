// The choices of the spreadsheet options form: the five output kinds of the
// picture workbook with their preset values, and the checks of the input.
#pragma once
#include <string>

inline constexpr int kOutputKindCount = 5;
inline constexpr int kPortrait = 1;   // "A4たて"
inline constexpr int kLandscape = 2;  // "A4よこ"
// The kind whose cells are computed: its paste cell is never checked.
inline constexpr int kAllOnOneSheet = 2;

inline constexpr char kBadSizeMessage[] = "X-Yサイズを正しく入力してください。";
inline constexpr char kBadPasteCellMessage[] = "エクセルへの画像貼付位置(A2など)を正しく入力してください。";

struct OutputKind {
  const char* limitX;      // size limit offered for the kind
  const char* limitY;
  int orientation;         // kPortrait or kLandscape
  const char* templateNo;  // "00" (imageList.xls) or the TAN-nn template
};

// kind 1 to 5; any other value gives kind 1.
const OutputKind& OutputKindOf(int kind);

// A size limit: a whole number of at least 1 pixel (blanks before it and a
// sign allowed, as the manager's settings read numbers).
bool ReadSizeLimit(const std::string& text, int& value);

// A paste cell ends in letters and digits: after the last character that is
// neither (a double-byte character counts as one such), at least one letter
// A-Z (either case) and one digit are left. "A2", "ab12", "2A" and "A1:B2"
// pass; "A-2", "12" and "" do not.
bool IsPasteCell(const std::string& text);
