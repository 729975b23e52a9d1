// The settings of section [KESTRO] in Kestro.ini, as the client keeps them
// while it runs. Members are named after their keys.
#pragma once
#include <string>

struct SettingsValues {
  std::string DATE;          // day of the daily counter, yyyymmdd
  int NUM = 0;               // daily counter 1..999
  std::string OPERATION;     // terminal name
  int STYLE = 0;             // 0 report workbook, 1 picture
  int EXCELPWD = 0;          // 1: workbooks get a password
  int TOP = 0;               // picture position and largest size in the workbook
  int LEFT = 0;
  int HEIGHT = 0;
  int WIDTH = 0;
  int SAVE = 0;              // 1: post by FTP; otherwise copy into FILESAVEPATH
  std::string LOCALDIR;      // local report store, ends in "\"
  std::string FILESAVEPATH;  // shared folder store, ends in "\"
  int SHOW = 0;              // 1: show the registration form; 0: post at once
  std::string SERVER;        // FTP server address
  std::string PASSWD;        // FTP password (plain text in the file)
  std::string USERID;        // FTP user name
  std::string PROJECT;       // default project
  std::string VALIDDAY;      // days that log files are kept
  std::string CRFLAG;        // "1": embed CRSTR
  std::string CRSTR;
  std::string MASKCOLOR;     // colour codes "1".."5"
  std::string WAKUTYPE;      // "1" dotted, "2" solid
  std::string WAKUCOLOR;
  std::string WAKUWIDTH;     // "1" thin, "2" thick
  std::string MOJISIZE;      // points
  std::string MOJICOLOR;
  std::string YAJICOLOR;
};

bool operator==(const SettingsValues& a, const SettingsValues& b);
inline bool operator!=(const SettingsValues& a, const SettingsValues& b) { return !(a == b); }

// The live settings of this process (read by fncSysRead, written by fncSysWrite).
extern SettingsValues gSettings;
