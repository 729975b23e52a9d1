// Paths of one file of the report store, and of the manager's local
// folders. Texts are code page 932: the second byte of a double-byte
// character is never taken for a "\" or another single-byte character.
#pragma once
#include <string>

// Every single-byte "\" as "/".
std::string ToForwardSlashes(const std::string& text);

// The name of a store file passes the one name rule (PathInFolder, common/
// portable/NameCharacters.h): a name that would leave its folder raises
// std::invalid_argument.
// FTP mode, relative to the login folder: root + ["/" + folder] + "/" + name.
std::string RemoteStorePath(const std::string& root, const std::string& folder, const std::string& name);
// The folder made before a store: "/" + root + ["/" + folder] + "/".
std::string RemoteStoreFolder(const std::string& root, const std::string& folder);
// Shared-folder mode: storeRoot (ends in "\") + folder + "\" + name (no
// second "\" for an empty folder).
std::string SharedStorePath(const std::string& storeRoot, const std::string& folder, const std::string& name);

// The text without the characters that cannot stand in a Windows path
// ( | : < > * ? " / \ and control characters ) and without trailing blanks
// and dots; "_" when nothing is left, and "_" before a device name, so
// that it always names one folder.
std::string PathSafeName(const std::string& text);
// <dataDir>CATALOGUE\<server>\<user>\ with both names made path-safe.
std::string CatalogueFolderPath(const std::string& dataDir, const std::string& server, const std::string& user);

// Files of the work folder that belong to the manager: tempFile.tmp, the
// listing file, projectlist.txt, comment.tmp and fetched report and tag
// files (also under their lock and completed names, and a workbook's
// ".pwd" save). The client's capture
// and editor files, Go.bat and Relay.ini are not.
bool IsManagerWorkFile(const std::string& name);
