// The characters that may not stand in a text that becomes part of a file
// name (a title, a comment, a project or terminal name): ~ | # / ' " * & %
// \ . , ? : ; < > _, the blank and the control characters. Code page 932
// aware: the second byte of a double-byte character is never taken for one.
#pragma once
#include <string>

// True when the text holds none of them (so also for an empty text).
bool HoldsNoNameCharacter(const std::string& text);

// The text with every one of them removed.
std::string WithoutNameCharacters(const std::string& text);
