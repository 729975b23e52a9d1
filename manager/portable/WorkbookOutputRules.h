// Texts and positions of the list and picture workbooks. Texts are code
// page 932.
#pragma once
#include <string>

// "3 件 ": the count cells of the list.
std::string ListCountText(int count);
// "( 33.3 ％)": completed entries as a share of all; "( 0.0 ％)" without entries.
std::string CompletedShareText(int completed, int entries);

// Sheet name of picture n: "(n)画像" for an empty comment, else "(n)" and
// the first 50 characters of the comment trimmed, without line breaks and
// without the characters a sheet name cannot hold; cut to 31 characters.
std::string PictureSheetName(int n, const std::string& comment);

// Kind 2 (all pictures on one sheet): the caption row of picture n for the
// height limit; the picture goes one row below.
int AllPicturesRow(int limitY, int n);

// "yyyy/mm/dd" -> "yyyymmdd"; "" for anything else.
std::string DayOfDateText(const std::string& date);
