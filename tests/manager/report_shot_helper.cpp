// Drives a kestroMgr for a picture of its report window with a filled grid,
// run by scripts/screenshot-report-window.sh against its FTP server.
//   report_shot_helper show FILE  posts three days of reports, starts the manager,
//                            logs in, searches, selects a row and prints the
//                            window's client area on the screen "w h x y"
//                            into FILE
//   report_shot_helper end   closes the report window
#include <cstdio>
#include <cstring>
#include <string>

#include "tests/manager/ReportWindowTestSupport.h"

using namespace mgrtest;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: report_shot_helper show|end\n");
    return 2;
  }
  if (std::strcmp(argv[1], "end") == 0) {
    HWND window = ReportWindow(5000);
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    return window ? 0 : 1;
  }
  SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", "OK");
  const char* comments[] = {"画面レイアウト崩れ", "ログイン不可", "帳票の合計が不一致", "確認済み", "文言修正"};
  const char* terminals[] = {"PC01", "PC02", "PC03"};
  std::string important;
  for (int back = 2; back >= 0; --back) {
    const std::string day = DayBefore(back);
    for (int n = 1; n <= 6; ++n) {
      char base[64];
      std::snprintf(base, sizeof base, "%s%s%s%02d%02d00%03d", n % 2 ? "PRJA_" : "PRJB_", terminals[n % 3],
                    day.c_str(), 9 + n, 10 * (n % 6), n);
      const std::string name = std::string(base) + (n == 4 ? ".xls" : ".jpg");
      const std::string stored = name + (n == 2 && back == 0 ? ".UPD" : n == 5 && back == 1 ? ".CMP" : "");
      PostReport(day, stored, std::string(1000 + 397 * n, 'x'), std::string(base) + "_" + comments[(n + back) % 5] + ".tag");
      if (n == 3) important += day + "\t" + name + "\n";
    }
  }
  // Marks made on this PC: one important report a day, two days read.
  const std::string folder = DataFolder() + "CATALOGUE\\" + EnvValue("KESTRO_TEST_FTP_HOST") + "\\" +
                             EnvValue("KESTRO_TEST_FTP_USER") + "\\";
  SHCreateDirectoryExA(nullptr, folder.substr(0, folder.size() - 1).c_str(), nullptr);
  for (size_t at = 0; at < important.size();) {
    const size_t tab = important.find('\t', at), end = important.find('\n', at);
    const std::string day = important.substr(at, tab - at), name = important.substr(tab + 1, end - tab - 1);
    WriteBytes(folder + day + ".ini", "[" + name + "]\r\nSTATUS=1\r\nIMPORTANT=1\r\nREAD=" +
                                          (day == DayBefore(0) ? "" : "1") + "\r\n");
    at = end + 1;
  }
  RunningManager manager;
  if (!manager.Start(DayBefore(2))) {
    std::fprintf(stderr, "report_shot_helper: the report window did not appear\n");
    return 1;
  }
  manager.Click("ﾎﾟｽﾄの検索");
  // A click on the fourth data row selects it.
  HWND grid = FindWindowExA(manager.window, nullptr, "FormsStringGrid", nullptr);
  if (grid) {
    const LPARAM at = MAKELPARAM(200, 17 * 4 + 8);
    PostMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(grid, WM_LBUTTONUP, 0, at);
  }
  Sleep(1500);
  RECT r;
  GetClientRect(manager.window, &r);
  POINT origin{0, 0};
  ClientToScreen(manager.window, &origin);
  // Into a file: the manager started here holds this program's standard handles.
  FILE* out = argc > 2 ? std::fopen(argv[2], "w") : stdout;
  if (!out) return 1;
  std::fprintf(out, "%ld %ld %ld %ld\n", r.right, r.bottom, origin.x, origin.y);
  if (out != stdout) std::fclose(out);
  return 0;
}
