// Times the real kestroMgr.exe's search over the last 31 days: the first
// search (listings and catalogue files), the redo (catalogue files only)
// and a narrowing by comment text. Prints "<step> <ms> <status text>".
// Run by bench/report-window-search.sh against its server.
#include <cstdio>
#include <functional>
#include <string>

#include "tests/manager/ReportWindowTestSupport.h"

using namespace mgrtest;

int main() {
  RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  SHCreateDirectoryExA(nullptr, DataFolder().substr(0, DataFolder().size() - 1).c_str(), nullptr);
  // Boxes (the closing question included) are answered, never shown.
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  SetEnvironmentVariableA("KESTRO_MSGBOX_LOG", (std::string(temp) + "report_window_bench_boxes.txt").c_str());
  SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", "OK");
  RunningManager manager;
  if (!manager.Start(DayBefore(30))) {
    std::fprintf(stderr, "report_window_bench: the report window did not appear\n");
    manager.End();
    return 1;
  }
  auto timed = [&](const char* step, const std::function<void()>& work) {
    const DWORD start = GetTickCount();
    work();
    const DWORD ms = GetTickCount() - start;
    const std::vector<std::string> grid = manager.Grid();
    std::printf("%s %lu %s\n", step, static_cast<unsigned long>(ms), grid.empty() ? "" : grid.back().c_str());
    std::fflush(stdout);
  };
  timed("search", [&] { manager.Click("ﾎﾟｽﾄの検索"); });
  timed("search-again", [&] { manager.Click("ﾎﾟｽﾄの検索"); });
  timed("redo", [&] { manager.Click("やり直し"); });
  timed("narrow", [&] {
    manager.SetComment("確認7");
    manager.Click("絞込み");
  });
  manager.End();
  if (EnvValue("KESTRO_BENCH_KEEP").empty()) RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  return 0;
}
