// Rules of the registration form that need no window: the line limits of
// its memos, the field checks and the title length.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

inline constexpr int kDetailLines = 2;     // memDetails
inline constexpr int kOperationLines = 3;  // memOperation
inline constexpr size_t kTitleTypingChars = 50;

inline constexpr char kProjectNameError[] =
    "プロジェク名はファイル名になります\r\nファイル名に使えない文字が含まれています";
inline constexpr char kTerminalEmptyError[] = "端末名を入力してください";
inline constexpr char kTerminalNameError[] =
    "端末名はファイル名になります\r\nファイル名に使えない文字が含まれています";

// Number of line-feed characters in the text.
int fncLineCount(const std::string& text);

// Keeps every character up to the lines-th carriage return; from there on
// carriage returns and line feeds are dropped and the rest joined onto the
// last line. lines < 1 keeps the text as it is.
std::string fncLimitLines(const std::string& text, int lines);

// The lines of a memo's text: split at CR LF (or a lone CR or LF); a break
// at the very end opens no further line; an empty text has no lines.
std::vector<std::string> MemoLines(const std::string& text);

// Checks the project and the terminal name in the form's order; "" when both
// pass, else the message for the first failure. An empty project passes; the
// terminal name is trimmed only for the emptiness test.
std::string CheckRegistrationFields(const std::string& project, const std::string& terminal);

// Characters of a code page 932 text (a double-byte character counts once).
size_t Cp932CharCount(const std::string& text);

// True when a typed character may go into the title: below 50 characters
// every key, from 50 on only Backspace.
bool TitleTakesKey(const std::string& title, unsigned char key);

// The part of a text committed by the input method that the title takes:
// as many characters as keep it at 50 at most.
std::string TitleImeFit(const std::string& title, const std::string& committed);
