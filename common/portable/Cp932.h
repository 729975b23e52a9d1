// Byte-level walking of code page 932 text, so that the second byte of a
// double-byte character is never taken for an ASCII character.
#pragma once
#include <cstddef>
#include <string>

bool IsCp932LeadByte(unsigned char byte);

// Bytes of the character that starts at pos (1 or 2; 1 for a lead byte
// with nothing after it).
size_t Cp932CharLength(const std::string& text, size_t pos);

// Largest length <= maxBytes that ends on a character boundary.
size_t Cp932CutLength(const std::string& text, size_t maxBytes);

// True when the last character is the single-byte character c (a trailing
// 0x5C that is the second byte of a double-byte character does not count).
bool Cp932EndsWith(const std::string& text, char c);

// Position of the first (or last) single-byte character c, never the second
// byte of a double-byte character; npos when there is none.
size_t Cp932Find(const std::string& text, char c);
size_t Cp932FindLast(const std::string& text, char c);
