// Fields of a listing line, split on runs of a separator.
#pragma once
#include <string>

// The n-th field (from 1) of line. A run of separators counts as one; a
// separator at the start makes an empty first field. With rest set, the
// field runs to the end of the line, later separators included. "" when n
// is below 1, the separator is longer than the line or the line has fewer
// fields; the whole line for an empty separator.
std::string fncGetToken(const std::string& line, int n, const std::string& separator, bool rest);
