// The manager's settings: what it reads from [KESTRO] and its own section
// [KESTROMGR] of Kestro.ini, with the defaults and write-backs applied at
// the login form's creation, and the server keys remembered at a login.
#pragma once
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

inline constexpr char kKestroSection[] = "KESTRO";
inline constexpr char kManagerSection[] = "KESTROMGR";

struct ManagerSettings {
  int SAVE = 0;              // 1 FTP mode, otherwise shared-folder mode
  std::string FILESAVEPATH;  // shared-folder store root, ends in "\"
  int STYLE = 1;
  std::string server, user, password;
  std::string EXCELPWD = "1";
  std::string VALIDDAY = "10";
  std::string BASEDATE;
  std::string SAVEPATH;    // output folder
  std::string COMMENTPOS = "I8";
  int XLSOUTPUTX = 400;
  int XLSOUTPUTY = 300;
  std::string TANNAME;
  std::string IMGPOS[5];
  // [KESTROMGR] keys saved at close whose read failed at start and that
  // were not set since: the file may hold a value that is not to be lost.
  std::set<std::string> unread;
};

// Reads and writes one key of the settings file. A read that failed gives
// no value; a missing key gives "".
struct SettingsAccess {
  std::function<std::optional<std::string>(const std::string& section, const std::string& key)> read;
  std::function<void(const std::string& section, const std::string& key, const std::string& value)> write;
};

// What the login form offers.
struct LoginChoices {
  std::vector<std::string> servers;  // [KESTRO] SERVER, then the LISTSERVER keys, no doubles
  std::string server, user;          // shown in the fields
  bool fieldsEnabled = true;         // false in SAVE 0
  bool defaultStore = false;         // FILESAVEPATH was empty: its default folder is to be made
};

// Decimal text (blanks before it allowed, an optional sign) or fallback.
int DecimalOr(const std::string& text, int fallback);
// ASCII letters upper-cased; double-byte characters kept as they are.
std::string UpperAscii(const std::string& text);

// Reads the settings in the order of the login form's creation, writing
// back the defaults that are kept in the file. dataDir and docDir end in "\".
LoginChoices ReadManagerSettings(const SettingsAccess& ini, const std::string& dataDir, const std::string& docDir,
                                 ManagerSettings& settings);

// The [KESTROMGR] keys saved when the report window closes (SAVEPATH,
// COMMENTPOS, XLSOUTPUTX, XLSOUTPUTY, TANNAME, IMGPOS1 to IMGPOS5) with
// their values, in that order, leaving out the unread ones.
std::vector<std::pair<std::string, std::string>> ClosingSettings(const ManagerSettings& settings);

// Sets a text setting; a value other than the present one makes the key
// one to save.
void ChangeSetting(ManagerSettings& settings, const std::string& key, std::string& field, const std::string& value);

// After a successful login: a server that is not in the list becomes the
// next LISTSERVER key; LASTTARGET and LASTUSERID are written.
void RememberLogin(const SettingsAccess& ini, const std::vector<std::string>& servers, const std::string& server,
                   const std::string& user);
