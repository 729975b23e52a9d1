// The list form of the running client, opened from the tray menu, over a
// local store laid out as the client writes it, posting to the scripted FTP
// server.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "client/ReportWorkbook.h"
#include "office/portable/WorkbookPassword.h"
#include "tests/listform/ListFormTestSupport.h"
#include "tests/office/SavedWorkbook.h"

using namespace listtest;

namespace {

const int kUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0);

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Base(const std::string& name) { return name.substr(0, name.rfind('.')); }

class ListFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    boxLog_ = UseBoxLog("listform_boxes.txt");
    viewerLog_ = std::string(temp) + "listform_viewer.txt";
    DeleteFileA(viewerLog_.c_str());
    SetEnvironmentVariableA("LIST_VIEWER_LOG", viewerLog_.c_str());
    FreshDataFolder();
    CreateDirectoryA(Store().c_str(), nullptr);
    std::ofstream ini(DataFolder() + "Kestro.ini", std::ios::binary);
    ini << "[KESTRO]\r\nSAVE=1\r\nSHOW=1\r\nSTYLE=1\r\nEXCELPWD=1\r\nOPERATION=PC01\r\nVALIDDAY=10\r\n"
        << "LOCALDIR=" << Store() << "\r\n" << FtpSettingsLines();
    ini.close();
    FreshServerStore();
    UseScript("normal");
  }
  void TearDown() override {
    if (client_) PostMessageA(client_, WM_CLOSE, 0, 0);
    if (process_.hProcess) WaitForSingleObject(process_.hProcess, 15000);
    EndKestro(process_);
    RemoveTree(DataFolder().substr(0, DataFolder().size() - 1));
    DeleteFileA(boxLog_.c_str());
    DeleteFileA(viewerLog_.c_str());
  }

  static std::string Store() { return DataFolder() + "store\\"; }
  static void UseScript(const char* script) { Write(FtpServerRoot() + "script.txt", script); }
  static std::string Put(const std::string& day, const std::string& name, const std::string& bytes = "\xFF\xD8") {
    CreateDirectoryA((Store() + day).c_str(), nullptr);
    Write(Store() + day + "\\" + name, bytes);
    return Store() + day + "\\" + name;
  }
  static std::string PutTag(const std::string& day, const std::string& name, const std::string& title) {
    CreateDirectoryA((Store() + day + "tag").c_str(), nullptr);
    const std::string path = Store() + day + "tag\\" + Base(name) + "_" + title + ".tag";
    Write(path, "");
    return path;
  }

  // Starts the client and opens the list form from its tray menu.
  ListForm Open() {
    EXPECT_TRUE(StartKestro(process_, exeFolder_));
    WaitFor([&] { return (client_ = FindWindowA("TForm1", "Kestro")) != nullptr; }, 20000);
    WaitFor([] { return FindWindowA("TForm4", "一覧画面") != nullptr; }, 30000);
    Sleep(1000);  // the start-up completes right after the last form
    HWND form = OpenListFromTray(client_);
    EXPECT_NE(form, nullptr) << ReadLog();
    return ListForm(process_.hProcess, form);
  }

  // Lists the range; the file names of the rows in grid order.
  std::vector<std::string> List(const ListForm& list, int y1, int m1, int d1, int y2, int m2, int d2) {
    EXPECT_TRUE(list.SetDates(y1, m1, d1, y2, m2, d2));
    size_t from = ReadLog().size();
    EXPECT_TRUE(list.Press("表示"));
    const std::string log = LogSince(from), marker = "一覧画面,fncGetList()Row=";
    EXPECT_NE(log.find("一覧画面,fncGetList()Count="), std::string::npos) << log;
    std::vector<std::string> names;
    for (size_t at = log.find(marker); at != std::string::npos; at = log.find(marker, at + 1)) {
      std::string row = log.substr(at + marker.size(), log.find("\r\n", at) - at - marker.size());
      rows_.push_back(row);
      names.push_back(row.substr(row.rfind(',') + 1));
    }
    return names;
  }

  PROCESS_INFORMATION process_{};
  HWND client_ = nullptr;
  std::string exeFolder_ = ProgramFolder();
  std::string boxLog_, viewerLog_;
  std::vector<std::string> rows_;
};

TEST_F(ListFormTest, ListsEveryDayOfTheRangeAndRefusesABackwardsRange) {
  Put("20240501", "SALES_PC0120240501093000001.jpg");
  Put("20240501", "PC0220240501101500002.xls");
  Put("20240501", "abcdefg.jpg");
  Put("20240503", "PC0120240503080000001.gif");
  ListForm list = Open();
  ASSERT_TRUE(list.Complete());

  // No folder for the 2nd: the other two days are listed.
  std::vector<std::string> names = List(list, 2024, 5, 1, 2024, 5, 3);
  EXPECT_EQ(names.size(), 4u);
  auto listed = [&](const std::string& row) {
    for (const std::string& r : rows_)
      if (r == row) return true;
    return false;
  };
  EXPECT_TRUE(listed("2024/05/01,09:30:00,JPG,SALES,SALES_PC0120240501093000001.jpg"));
  EXPECT_TRUE(listed("2024/05/01,10:15:00,XLS,,PC0220240501101500002.xls"));
  EXPECT_TRUE(listed("2024/05/01,ab:cd:,JPG,,abcdefg.jpg"));  // whatever stands there
  EXPECT_TRUE(listed("2024/05/03,08:00:00,GIF,,PC0120240503080000001.gif"));

  // A day without a folder: nothing listed, and nothing to post.
  EXPECT_TRUE(List(list, 2024, 5, 2, 2024, 5, 2).empty());
  size_t from = ReadLog().size();
  ASSERT_TRUE(list.Press("ポスト"));
  EXPECT_NE(LogSince(from).find("一覧画面,btnSendClick()\r\n"), std::string::npos);
  EXPECT_TRUE(IsWindowEnabled(list.Handle()));
  EXPECT_EQ(ReadAll(boxLog_), "");

  // Start after end: refused, the form is free again.
  ASSERT_TRUE(list.SetDates(2024, 5, 3, 2024, 5, 1));
  from = ReadLog().size();
  ASSERT_TRUE(list.Press("表示"));
  EXPECT_TRUE(IsWindowEnabled(list.Handle()));
  EXPECT_EQ(list.Status(), "日付範囲が正しくありません");
  EXPECT_NE(LogSince(from).find("一覧画面,fncGetList()\r\n"), std::string::npos);
  EXPECT_EQ(LogSince(from).find("Count="), std::string::npos);
}

// A capture that comes meanwhile (SHOW 0) waits for the run's end.
TEST_F(ListFormTest, AStalledPostEndsTheRunAndKeepsItsRowAndTheLaterOnes) {
  WritePrivateProfileStringA("KESTRO", "SHOW", "0", (DataFolder() + "Kestro.ini").c_str());
  const std::string day = "20240510";
  // Large enough that the first upload outlasts the switch of the script.
  const std::string picture = "\xFF\xD8" + std::string(6 * 1024 * 1024, 'p');
  for (const char* name : {"PC0120240510090000001.jpg", "PC0120240510090100002.jpg", "PC0120240510090200003.jpg"}) {
    Put(day, name, picture);
    PutTag(day, name, "t");
  }
  ListForm list = Open();
  ASSERT_TRUE(list.Complete());
  std::vector<std::string> names = List(list, 2024, 5, 10, 2024, 5, 10);
  ASSERT_EQ(names.size(), 3u);

  const std::string onServer = FtpServerRoot() + "kestro\\" + day + "\\";
  list.SelectRows(1, 3);
  size_t from = ReadLog().size();
  ASSERT_TRUE(list.Click("ポスト"));
  // The first row's upload runs: the next connection gets a stalled upload.
  const DWORD start = GetTickCount();
  while (FindFile(onServer + Base(names[0]) + "*").empty() && GetTickCount() - start < 30000) Sleep(1);
  UseScript("stall_upload");
  ASSERT_TRUE(WaitFor([&] { return !Exists(Store() + day + "\\" + names[0]); }, 30000)) << LogSince(from);
  const std::string capture = CaptureWhenReady();
  ASSERT_TRUE(WaitFor([&] { return list.Status() == "ポストに失敗しました"; }, 60000)) << LogSince(from);
  EXPECT_TRUE(list.WaitEnabled());
  EXPECT_EQ(LogSince(from).find(names[2]), std::string::npos) << LogSince(from);
  // Its post stalls too: it is kept as a report in the local store.
  EXPECT_TRUE(WaitFor([&] { return !Exists(DataFolder() + "temp\\" + capture); }, 30000)) << LogSince(from);
  EXPECT_NE(FindFile(Store() + Today("%04d%02d%02d") + "\\PC01*.jpg"), "") << LogSince(from);

  EXPECT_TRUE(ReadAll(onServer + names[0]) == picture);
  EXPECT_TRUE(Exists(FtpServerRoot() + "kestro\\" + day + "tag\\" + Base(names[0]) + "_t.tag"));
  EXPECT_FALSE(Exists(Store() + day + "\\" + names[0]));
  for (int i : {1, 2}) {
    EXPECT_FALSE(Exists(onServer + names[i]));
    EXPECT_TRUE(Exists(Store() + day + "\\" + names[i]));
    EXPECT_TRUE(Exists(Store() + day + "tag\\" + Base(names[i]) + "_t.tag"));
  }
  EXPECT_NE(ReadAll(boxLog_).find("ポストに失敗しました"), std::string::npos) << ReadAll(boxLog_);

  // The grid holds the two rows kept: deleting both removes them with their tags.
  list.SelectRows(1, 2);
  from = ReadLog().size();
  ASSERT_TRUE(list.Press("削除"));
  const std::string log = LogSince(from);
  EXPECT_NE(log.find("btnDeleteClick()=ＯＫ押下"), std::string::npos) << log;
  EXPECT_EQ(log.find(names[0]), std::string::npos) << log;
  for (int i : {1, 2}) {
    EXPECT_NE(log.find("btnDeleteClick()Path=" + Store() + day + "\\" + names[i]), std::string::npos) << log;
    EXPECT_FALSE(Exists(Store() + day + "\\" + names[i]));
    EXPECT_FALSE(Exists(Store() + day + "tag\\" + Base(names[i]) + "_t.tag"));
  }
  EXPECT_EQ(list.Status(), "削除しました");
}

TEST_F(ListFormTest, AShareThatFillsUpHoldsNoPartOfTheReport) {
  if (EnvValue("KESTRO_TEST_FILE_LIMIT_KB").empty()) GTEST_SKIP();
  const std::string ini = DataFolder() + "Kestro.ini", share = DataFolder() + "share\\", name = "PC0120240512090000001.jpg";
  WritePrivateProfileStringA("KESTRO", "SAVE", "0", ini.c_str());
  WritePrivateProfileStringA("KESTRO", "FILESAVEPATH", share.c_str(), ini.c_str());
  const std::string report = Put("20240512", name);
  PutTag("20240512", name, "t");  // and the report a link larger than the run's largest file size
  ASSERT_TRUE(DeleteFileA(report.c_str()) && CreateHardLinkA(report.c_str(), (ProgramFolder() + "Kestro.exe").c_str(), nullptr));
  ListForm list = Open();
  ASSERT_EQ(List(list, 2024, 5, 12, 2024, 5, 12).size(), 1u);
  ASSERT_TRUE(list.Press("ポスト"));
  EXPECT_TRUE(FindFile(share + "20240512\\*.jpg*").empty() && Exists(report)) << ReadLog();
}

TEST_F(ListFormTest, ACancelledDeleteKeepsTheFileAndFreesTheForm) {
  SetEnvironmentVariableA("KESTRO_MSGBOX_REPLY", "CANCEL");
  const std::string report = Put("20240511", "PC0120240511090000001.jpg");
  const std::string tag = PutTag("20240511", "PC0120240511090000001.jpg", "t");
  ListForm list = Open();
  ASSERT_TRUE(list.Complete());
  ASSERT_EQ(List(list, 2024, 5, 11, 2024, 5, 11).size(), 1u);
  size_t from = ReadLog().size();
  ASSERT_TRUE(list.Press("削除"));
  EXPECT_NE(LogSince(from).find("一覧画面,btnDeleteClick()=キャンセル押下"), std::string::npos);
  EXPECT_TRUE(IsWindowEnabled(list.Handle()));
  EXPECT_TRUE(Exists(report));
  EXPECT_TRUE(Exists(tag));
}

// At start: a list download cut short, and someone else's Relay.ini that cannot be removed.
TEST_F(ListFormTest, NeitherAFailedListDownloadNorAPlantedRelayFileIsTrusted) {
  Write(DataFolder() + "projectlist.txt", "OLD\r\n");
  Write(FtpServerRoot() + "kestro\\projectlist.txt", std::string(300000, 'n'));
  UseScript("drop_data");
  Put("20240604", "PC0120240604100000001.jpg");
  CreateDirectoryA((DataFolder() + "temp").c_str(), nullptr);
  const std::string relay = DataFolder() + "temp\\Relay.ini";
  Write(relay, "[relay]\r\nhtmlfile=" + ProgramFolder() + "list_viewer_marker.exe\r\n");
  HANDLE held = CreateFileA(relay.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ListForm list = Open();
  EXPECT_TRUE(WaitFor([] { return ReadLog().find("fncGetProject()ERROR=") != std::string::npos; }, 30000));
  EXPECT_EQ(ReadAll(DataFolder() + "projectlist.txt"), "OLD\r\n");
  ASSERT_TRUE(list.Complete() && List(list, 2024, 6, 4, 2024, 6, 4).size() == 1u);
  list.SelectRows(1, 1);
  ASSERT_TRUE(list.Press("開く"));
  EXPECT_NE(ReadLog().find("fncGetRelay()ERROR=Go.batが作成していないRelay.ini"), std::string::npos) << ReadLog();
  EXPECT_FALSE(Exists(viewerLog_));
  CloseHandle(held);
}

class ListFormViewerTest : public ListFormTest {
 protected:
  void SetUp() override {
    ListFormTest::SetUp();
    CoInitialize(nullptr);
    ASSERT_TRUE(standin::Register());
    marker_ = ProgramFolder() + "list_viewer_marker.exe";
    // The client runs from a folder of its own, where "CMD" is the marker too.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    exeFolder_ = std::string(temp) + "kestro list run\\";
    CreateDirectoryA(exeFolder_.c_str(), nullptr);
    for (const char* file : {"Kestro.exe", "SNAPTRAP.DLL"})
      ASSERT_TRUE(CopyFileA((ProgramFolder() + file).c_str(), (exeFolder_ + file).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(marker_.c_str(), (exeFolder_ + "CMD.exe").c_str(), FALSE));
  }
  void TearDown() override {
    ListFormTest::TearDown();
    RemoveTree(exeFolder_.substr(0, exeFolder_.size() - 1));
    CoUninitialize();
  }
  // Pictures open in the marker as the "htmlfile" command, once the client's
  // own lookup has written the relay file.
  void RelayToMarker() {
    const std::string relay = DataFolder() + "temp\\Relay.ini";
    // Go.bat's first type is the one every prefix knows; the others may be unknown and write nothing.
    ASSERT_TRUE(WaitFor([&] { return ReadAll(relay).find("htmlfile=") != std::string::npos; }, 20000));
    Sleep(500);
    Write(relay, "[RELAY]\r\nhtmlfile=" + marker_ + "\r\n");
  }
  // A report workbook protected with the password of its name's timestamp.
  std::string PutWorkbook(const std::string& day, const std::string& name, const std::string& timestamp) {
    CreateDirectoryA((Store() + day).c_str(), nullptr);
    const std::string picture = Store() + "capture.jpg";
    standin::WriteBytes(picture, standin::FakeJpeg());
    workbook::ReportWorkbookInput input;
    input.templatePath = ProgramFolder() + "template.xls";
    input.processingDay = day;
    input.picturePath = picture;
    input.presentDate = input.outbreakDate = "2024/06/01(土)";
    input.terminal = "PC01";
    input.title = "diskfull";
    input.protect = true;
    std::string password;
    EXPECT_TRUE(office::fncMakePwd(timestamp, password));
    const std::string path = Store() + day + "\\" + name;
    EXPECT_TRUE(workbook::fucXlsSet(path, Base(name), password, input));
    DeleteFileA(picture.c_str());
    return password;
  }
  std::string SavedPassword(const std::string& path) { return standin::SavedWorkbook(path).password; }
  static bool Logged(const std::string& line) {
    return WaitFor([&] { return ReadLog().find(line) != std::string::npos; }, 30000);
  }
  // Opens the one row with the button and waits for the handler's end.
  void OpenRow(const ListForm& list, int row, size_t& from) {
    list.SelectRows(row, row);
    from = ReadLog().size();
    ASSERT_TRUE(list.Press("開く"));
    ASSERT_NE(LogSince(from).find("一覧画面,btnOpenClick()"), std::string::npos);
    ASSERT_TRUE(IsWindowEnabled(list.Handle()));
  }
  static int RowOf(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return static_cast<int>(i) + 1;
    return -1;
  }
  std::string marker_;
};

TEST_F(ListFormViewerTest, ReportsOpenInTheirViewersAndNothingElseRuns) {
  const std::string day = "20240602";
  // Captured just before midnight, saved in the next day's folder.
  const std::string book = "PC0120240601235930001.xls";
  const std::string password = PutWorkbook(day, book, "20240601235930");
  const std::string oldTag = PutTag(day, book, "old");
  const std::string picture = Put(day, "PC0120240602100000002.jpg");
  const std::string ran = Store() + "ran.txt";
  Put(day, "zz.bat", "echo ran> \"" + ran + "\"\r\n");
  ListForm list = Open();
  ASSERT_TRUE(list.Complete());
  RelayToMarker();
  std::vector<std::string> names = List(list, 2024, 6, 2, 2024, 6, 2);
  ASSERT_EQ(names.size(), 3u);

  size_t from = 0;
  OpenRow(list, RowOf(names, "PC0120240602100000002.jpg"), from);
  EXPECT_TRUE(WaitFor([&] { return ReadAll(viewerLog_).find(picture) != std::string::npos; }, 10000))
      << LogSince(from) << ReadAll(viewerLog_);
  EXPECT_NE(LogSince(from).find("fncFileShow()" + marker_ + " \"" + picture + "\""), std::string::npos)
      << LogSince(from);
  EXPECT_EQ(LogSince(from).find("CMD /C"), std::string::npos);  // the selected row only

  // A file of another type is never started.
  OpenRow(list, RowOf(names, "zz.bat"), from);
  EXPECT_NE(LogSince(from).find("fncFileShow()ERROR=このファイルは開けません"), std::string::npos) << LogSince(from);
  EXPECT_FALSE(Exists(ran));
  EXPECT_EQ(list.Status(), "このファイルは開けません");

  // The workbook opens with its name's password, is shown through CMD and
  // is protected again, its tag following the title.
  const int bookRow = RowOf(names, book);
  list.DoubleClickRow(bookRow);
  ASSERT_TRUE(WaitFor([&] { return !Exists(oldTag); }, 30000));
  ASSERT_TRUE(list.WaitEnabled());
  EXPECT_NE(ReadLog().find("一覧画面,grdListDblClick()"), std::string::npos) << ReadLog();
  const std::string path = Store() + day + "\\" + book;
  // (The command interpreter of the test system opens no document by its
  // type; it is started and waited for all the same.)
  const std::string cmd = "fncFileShow()\"CMD /C\" \"" + path + "\"\r\n";
  const size_t shown = ReadLog().find(cmd);
  ASSERT_NE(shown, std::string::npos) << ReadLog();
  EXPECT_NE(ReadLog().find("一覧画面,fncFileShow()OK", shown), std::string::npos) << ReadLog();
  EXPECT_EQ(ReadAll(boxLog_).find("ExcelのOPENに失敗しました"), std::string::npos) << ReadAll(boxLog_);
  EXPECT_EQ(SavedPassword(path), password);
  EXPECT_FALSE(Exists(oldTag));
  EXPECT_TRUE(Exists(Store() + day + "tag\\" + Base(book) + "_diskfull.tag"));

  // No viewer can start (its folder is gone): the workbook keeps its password.
  RemoveTree(DataFolder() + "temp");
  OpenRow(list, bookRow, from);
  EXPECT_NE(LogSince(from).find("fncFileShow()ERROR=起動に失敗しました"), std::string::npos) << LogSince(from);
  EXPECT_EQ(list.Status(), "起動に失敗しました");
  EXPECT_EQ(SavedPassword(path), password);
}

// The rest of the open stops; the workbook left open gets its password at the next start, and is not posted
// without, also after a failed open of it.
TEST_F(ListFormViewerTest, QuittingFromTheTrayEndsTheViewerWait) {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, "stay");
  const std::string book = "PC01stay20240603100000001.xls", path = Store() + "20240603\\" + book;
  const std::string password = PutWorkbook("20240603", book, "20240603100000");
  PutTag("20240603", book, "t");
  const std::string picture = Put("20240604", "PC0120240604100000002.jpg");
  ListForm list = Open();
  RelayToMarker();
  ASSERT_EQ(List(list, 2024, 6, 3, 2024, 6, 4).size(), 2u);
  list.SelectRows(1, 2);
  ASSERT_TRUE(list.Click("開く"));
  ASSERT_TRUE(WaitFor([&] { return ReadAll(viewerLog_).find(path) != std::string::npos; }, 30000)) << ReadLog();
  PostMessageA(client_, kTrayMessage, 0, WM_RBUTTONUP);
  HWND menu = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (menu = FindWindowA("#32768", nullptr)) && IsWindowVisible(menu); }, 10000));
  PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);  // the last item ends the program
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0)) << ReadLog();
  EXPECT_NE(ReadLog().find("一覧画面,fncFileShow()終了のため残りのファイルは開きません"), std::string::npos);
  EXPECT_EQ(ReadLog().find(picture), std::string::npos);
  EXPECT_EQ(SavedPassword(path), "");  // as the viewer has it

  // Still held by the viewer: neither the start nor a post can protect it, and it is not posted.
  EndKestro(process_);
  list = Open();
  ASSERT_TRUE(Logged("Kestro,FormCreate()ERROR=ブックのパスワードを設定し直せません=" + path)) << ReadLog();
  ASSERT_EQ(List(list, 2024, 6, 3, 2024, 6, 3).size(), 1u);
  // Opened again: the held workbook cannot be saved, and it stays noted.
  size_t from = 0;
  OpenRow(list, 1, from);
  EXPECT_TRUE(Logged("一覧画面,fncFileShow()ERROR=ExcelのOPENに失敗しました")) << LogSince(from);
  ASSERT_TRUE(list.Press("ポスト"));
  EXPECT_NE(ReadAll(boxLog_).find("ブックのパスワードを設定し直せないため、ポストできません"), std::string::npos);
  EXPECT_FALSE(Exists(FtpServerRoot() + "kestro\\20240603\\" + book));
  PostMessageA(client_, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(process_.hProcess, 20000), static_cast<DWORD>(WAIT_OBJECT_0));

  // The viewer ends; the next start protects it again.
  SetEvent(release);
  CloseHandle(release);
  ASSERT_TRUE(WaitFor(
      [&] {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        return file != INVALID_HANDLE_VALUE && CloseHandle(file);
      },
      30000));
  EndKestro(process_);
  // The same store spelt in capitals is still this client's store.
  std::string capitals = Store();
  CharUpperA(&capitals[0]);
  WritePrivateProfileStringA("KESTRO", "LOCALDIR", capitals.c_str(), (DataFolder() + "Kestro.ini").c_str());
  ASSERT_TRUE(StartKestro(process_, exeFolder_));
  EXPECT_TRUE(Logged("Kestro,FormCreate()ブックのパスワードを設定し直しました=" + path)) << ReadLog();
  EXPECT_EQ(SavedPassword(path), password);
}

}  // namespace
