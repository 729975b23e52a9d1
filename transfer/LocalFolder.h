// Local folders of the transfer client's files.
#pragma once
#include <string>

namespace transfer {

// Creates the folder and every missing parent; true when it exists after.
bool ForceDirectories(const std::string& folder);
// The folder part of a file name ("" when it has none).
std::string FolderOf(const std::string& fileName);

}  // namespace transfer
