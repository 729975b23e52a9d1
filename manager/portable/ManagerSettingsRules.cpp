#include "manager/portable/ManagerSettingsRules.h"

#include <algorithm>
#include <climits>

#include "common/portable/Cp932.h"
#include "common/portable/FolderText.h"

namespace {

constexpr char kDefaultServer[] = "127.0.0.1";
constexpr char kDefaultUser[] = "anonymous";
const char* const kImagePositionDefaults[5] = {"A2", "", "A4", "A7", "A6"};

// The value, "" when the key is missing or could not be read.
std::string Read(const SettingsAccess& ini, const std::string& section, const std::string& key) {
  return ini.read(section, key).value_or("");
}

// A count that is not a number counts as no entry.
int ServerCount(const std::string& count) { return std::max(0, DecimalOr(count, 0)); }

std::string ListServerKey(int n) { return "LISTSERVER" + std::to_string(n); }

// Reads the key; when it is empty, writes and returns the default. A key
// that could not be read takes the default without writing it: the file
// may hold a value.
std::string ReadOrWriteDefault(const SettingsAccess& ini, const char* section, const char* key,
                               const std::string& fallback, std::set<std::string>* unread = nullptr) {
  const std::optional<std::string> value = ini.read(section, key);
  if (!value) {
    if (unread) unread->insert(key);
    return fallback;
  }
  if (!value->empty()) return *value;
  ini.write(section, key, fallback);
  return fallback;
}

void AddServer(std::vector<std::string>& servers, const std::string& server) {
  if (server.empty()) return;
  if (std::find(servers.begin(), servers.end(), server) == servers.end()) servers.push_back(server);
}

}  // namespace

int DecimalOr(const std::string& text, int fallback) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos == text.size()) return fallback;
  long long value = 0;
  for (; pos < text.size(); ++pos) {
    if (text[pos] < '0' || text[pos] > '9') return fallback;
    value = value * 10 + (text[pos] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return fallback;
  }
  value = negative ? -value : value;
  if (value > INT_MAX || value < INT_MIN) return fallback;
  return static_cast<int>(value);
}

std::string UpperAscii(const std::string& text) {
  std::string result = text;
  for (size_t pos = 0; pos < result.size();) {
    const size_t length = Cp932CharLength(result, pos);
    if (length == 1 && result[pos] >= 'a' && result[pos] <= 'z') result[pos] = static_cast<char>(result[pos] - 'a' + 'A');
    pos += length;
  }
  return result;
}

LoginChoices ReadManagerSettings(const SettingsAccess& ini, const std::string& dataDir, const std::string& docDir,
                                 ManagerSettings& settings) {
  LoginChoices choices;
  // Unread, SAVE stays in FTP mode: the shared-folder mode would show
  // another store and lock the login fields.
  const std::optional<std::string> save = ini.read(kKestroSection, "SAVE");
  settings.SAVE = save ? DecimalOr(*save, 0) : 1;
  const std::string store = Read(ini, kKestroSection, "FILESAVEPATH");
  choices.defaultStore = store.empty();
  // Every store path is built as root + folder: the root must end in "\".
  settings.FILESAVEPATH = store.empty() ? dataDir + "save\\" : WithTrailingBackslash(store);
  settings.STYLE = DecimalOr(Read(ini, kKestroSection, "STYLE"), 1);

  choices.fieldsEnabled = settings.SAVE != 0;
  const std::string server = ReadOrWriteDefault(ini, kKestroSection, "SERVER", kDefaultServer);
  AddServer(choices.servers, server);

  const std::string lastTarget = Read(ini, kManagerSection, "LASTTARGET");
  const std::string lastUser = Read(ini, kManagerSection, "LASTUSERID");
  if (!lastTarget.empty()) {
    settings.server = lastTarget;
    settings.user = lastUser;
  } else {
    settings.server = server;
    settings.user = ReadOrWriteDefault(ini, kKestroSection, "USERID", kDefaultUser);
  }
  choices.server = settings.server;
  choices.user = settings.user;

  const int count = ServerCount(Read(ini, kManagerSection, "ADDITIONALSERVERCOUNT"));
  for (int n = 1; n <= count; ++n) AddServer(choices.servers, Read(ini, kManagerSection, ListServerKey(n)));

  settings.EXCELPWD = ReadOrWriteDefault(ini, kKestroSection, "EXCELPWD", "1");
  settings.VALIDDAY = ReadOrWriteDefault(ini, kKestroSection, "VALIDDAY", "10");

  // The keys saved at close: a failed read is remembered.
  settings.unread.clear();
  auto readSaved = [&](const std::string& key) {
    const std::optional<std::string> value = ini.read(kManagerSection, key);
    if (!value) settings.unread.insert(key);
    return value.value_or("");
  };
  settings.BASEDATE = readSaved("BASEDATE");
  settings.COMMENTPOS = ReadOrWriteDefault(ini, kManagerSection, "COMMENTPOS", "I8", &settings.unread);
  settings.SAVEPATH = ReadOrWriteDefault(ini, kManagerSection, "SAVEPATH", docDir, &settings.unread);
  settings.XLSOUTPUTX = DecimalOr(readSaved("XLSOUTPUTX"), 400);
  settings.XLSOUTPUTY = DecimalOr(readSaved("XLSOUTPUTY"), 300);
  settings.TANNAME = readSaved("TANNAME");
  for (int i = 0; i < 5; ++i) {
    const std::string value = UpperAscii(readSaved("IMGPOS" + std::to_string(i + 1)));
    settings.IMGPOS[i] = value.empty() ? kImagePositionDefaults[i] : value;
  }
  return choices;
}

std::vector<std::pair<std::string, std::string>> ClosingSettings(const ManagerSettings& settings) {
  std::vector<std::pair<std::string, std::string>> keys = {
      {"SAVEPATH", settings.SAVEPATH},
      {"COMMENTPOS", settings.COMMENTPOS},
      {"XLSOUTPUTX", std::to_string(settings.XLSOUTPUTX)},
      {"XLSOUTPUTY", std::to_string(settings.XLSOUTPUTY)},
      {"TANNAME", settings.TANNAME}};
  for (int i = 0; i < 5; ++i) keys.emplace_back("IMGPOS" + std::to_string(i + 1), settings.IMGPOS[i]);
  std::vector<std::pair<std::string, std::string>> saved;
  for (const auto& key : keys)
    if (!settings.unread.count(key.first)) saved.push_back(key);
  return saved;
}

void ChangeSetting(ManagerSettings& settings, const std::string& key, std::string& field, const std::string& value) {
  if (value == field) return;
  field = value;
  settings.unread.erase(key);
}

void RememberLogin(const SettingsAccess& ini, const std::vector<std::string>& servers, const std::string& server,
                   const std::string& user) {
  if (std::find(servers.begin(), servers.end(), server) == servers.end()) {
    // An unread count could put the server over a listed one.
    if (const std::optional<std::string> count = ini.read(kManagerSection, "ADDITIONALSERVERCOUNT")) {
      const int n = ServerCount(*count) + 1;
      ini.write(kManagerSection, "ADDITIONALSERVERCOUNT", std::to_string(n));
      ini.write(kManagerSection, ListServerKey(n), server);
    }
  }
  ini.write(kManagerSection, "LASTTARGET", server);
  ini.write(kManagerSection, "LASTUSERID", user);
}
