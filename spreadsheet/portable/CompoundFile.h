// Streams of a compound file, the container that .xls workbooks are stored in
// (a small FAT file system inside one file: header, sector chains, a
// directory tree and a mini stream for small streams). Reads untrusted bytes:
// every offset, chain and size is checked; a broken file gives an error.
#pragma once
#include <string>

namespace spreadsheet {

bool IsCompoundFile(const std::string& bytes);
// The stream of that name among the root storage's children (names compared
// without regard to ASCII case). False with a reason when the file is broken
// or holds no such stream.
bool ReadCompoundStream(const std::string& file, const std::string& name, std::string& stream, std::string& error);

}  // namespace spreadsheet
