// For the picture of the list form: lays out a local store with a few
// reports, starts Kestro.exe, opens the list from the tray menu, lists the
// range and selects two rows. "end" closes the client again.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "tests/listform/ListFormTestSupport.h"

using namespace listtest;

namespace {

void Put(const std::string& store, const std::string& day, const std::string& name) {
  CreateDirectoryA((store + day).c_str(), nullptr);
  CreateDirectoryA((store + day + "tag").c_str(), nullptr);
  std::ofstream(store + day + "\\" + name, std::ios::binary) << "\xFF\xD8";
  std::ofstream(store + day + "tag\\" + name.substr(0, name.rfind('.')) + "_title.tag", std::ios::binary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "end") == 0) {
    HWND client = FindWindowA("TForm1", "Kestro");
    if (client) SendMessageTimeoutA(client, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000, nullptr);
    return 0;
  }
  const std::string store = DataFolder() + "shotstore\\";
  RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
  CreateDirectoryA(DataFolder().substr(0, DataFolder().size() - 8).c_str(), nullptr);
  CreateDirectoryA(DataFolder().c_str(), nullptr);
  CreateDirectoryA(store.c_str(), nullptr);
  std::ofstream(DataFolder() + "Kestro.ini", std::ios::binary)
      << "[KESTRO]\r\nSAVE=1\r\nSHOW=1\r\nSTYLE=1\r\nOPERATION=PC01\r\nVALIDDAY=10\r\nLOCALDIR=" << store
      << "\r\nSERVER=127.0.0.29\r\nUSERID=kestro\r\nPASSWD=x\r\n";
  Put(store, "20240501", "SALES_PC0120240501093000001.jpg");
  Put(store, "20240501", "SALES_PC0120240501101512002.xls");
  Put(store, "20240502", "PC0120240502080005001.jpg");
  Put(store, "20240503", "KAIHATSU_PC0220240503174530003.xls");
  Put(store, "20240503", "PC0220240503180000004.jpg");

  PROCESS_INFORMATION process{};
  if (!StartKestro(process)) return 1;
  HWND client = nullptr;
  WaitFor([&] { return (client = FindWindowA("TForm1", "Kestro")) != nullptr; }, 20000);
  WaitFor([] { return FindWindowA("TForm4", "一覧画面") != nullptr; }, 30000);
  Sleep(1500);
  HWND form = client ? OpenListFromTray(client) : nullptr;
  if (!form) {
    std::fprintf(stderr, "list_shot_helper: the list form did not open\n");
    return 1;
  }
  ListForm list(process.hProcess, form);
  list.SetDates(2024, 5, 1, 2024, 5, 3);
  list.Press("表示");
  list.SelectRows(2, 3);
  Sleep(500);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
