// Constants of the client shared by its units.
#pragma once

namespace kestro {

inline constexpr char kVersion[] = "1.5";
inline constexpr bool kDebug = false;  // also show capture notifications in the debug memo
inline constexpr char kMakerFolder[] = "Veltrana";
inline constexpr char kProductFolder[] = "kestro";
inline constexpr char kMenuBanner[] = "Kestro";
inline constexpr char kServerRoot[] = "kestro";
inline constexpr char kIniFile[] = "Kestro.ini";
inline constexpr char kLogTag[] = "(KESTRO)";
inline constexpr unsigned kEventInterval = 500;  // ms
inline constexpr char kTempFolder[] = "temp\\";
inline constexpr char kImagesFolder[] = "images\\";
inline constexpr char kSaveFolder[] = "save\\";
inline constexpr char kDocFolder[] = "doc\\";
inline constexpr char kTemplateFile[] = "template.xls";
inline constexpr char kProjectListFile[] = "projectlist.txt";
inline constexpr char kViewedBooksFile[] = "protect.lst";  // workbooks opened for viewing, not protected again yet
inline constexpr char kPostAnimation[] = "pctopost.avi";
inline constexpr char kHintFile[] = "clienthint.html";
inline constexpr char kLogPattern[] = "????????.txt";
inline constexpr int kRetryCount = 3;
inline constexpr int kFtpTimeOut = 5000;  // ms
inline constexpr char kUpdaterIni[] = "downloader.ini";

// Window messages of the hand-off with the hook library and the shell.
inline constexpr unsigned kCaptureMessage = 1125;  // WM_USER + 101
inline constexpr unsigned kTrayMessage = 1126;     // WM_USER + 102

}  // namespace kestro
