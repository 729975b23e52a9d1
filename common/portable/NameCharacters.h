// The one name rule. The characters that may not stand in a text that
// becomes part of a file name (a title, a comment, a project or terminal
// name): ~ | # / ' " * & % \ . , ? : ; < > _, the blank and the control
// characters; and the rule for a whole file name joined to a folder. Code
// page 932 aware: the second byte of a double-byte character is never
// taken for one.
#pragma once
#include <string>

// True when the text holds none of them (so also for an empty text) and is
// no device name.
bool HoldsNoNameCharacter(const std::string& text);

// The text with every one of them removed.
std::string WithoutNameCharacters(const std::string& text);

// CON, PRN, AUX, NUL, COM1-COM9 or LPT1-LPT9 in any case: the part of the
// name before its first dot, without trailing blanks and dots.
bool IsDeviceName(const std::string& name);

// A file name that stays inside the folder it is joined to: not empty, no
// "..", no "\", "/" or ":", none of * ? " < > |, no control character, no
// device name, no trailing dot or blank and no lead byte without a
// second byte after it.
bool IsPlainFileName(const std::string& name);

// folder + name, with one separator between them unless the folder is
// empty or already ends in one; raises std::invalid_argument for a name
// that is no plain file name.
std::string PathInFolder(const std::string& folder, const std::string& name, char separator = '\\');
