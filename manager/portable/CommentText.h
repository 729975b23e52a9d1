// A report's comment as it goes into its tag file's name. Texts are code
// page 932; lengths are counted in characters, not bytes.
#pragma once
#include <cstddef>
#include <string>

inline constexpr size_t kCommentMaxChars = 50;

// The text with every CR and LF removed.
std::string DelCrlf(const std::string& text);
// At most maxChars characters from the start; a double-byte character is
// never split.
std::string FirstCharacters(const std::string& text, size_t maxChars);
// A comment from the editor's answer line or a workbook cell: trimmed of
// blanks and control characters (the answer line only), without CR, LF and
// the characters a file name may not hold, cut to 50 characters.
std::string CleanAnswerComment(const std::string& line);
std::string CleanCellComment(const std::string& cell);
// <report name without its last 4 characters> "_" comment ".tag", the
// comment without the characters a name may not hold.
std::string TagNameFor(const std::string& reportName, const std::string& comment);
// Tag names compared with ASCII letters in either case.
bool SameTagName(const std::string& a, const std::string& b);
