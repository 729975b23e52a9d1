// The client's log writer and file utilities against the real Win32 calls.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <stdexcept>

#include "client/Common.h"
#include "client/Global.h"
#include "tests/client/WineTestFiles.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string DateKey(int daysFromToday) {
  SYSTEMTIME st;
  GetLocalTime(&st);
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER value{{ft.dwLowDateTime, ft.dwHighDateTime}};
  value.QuadPart += static_cast<LONGLONG>(daysFromToday) * 24 * 3600 * 10000000LL;
  ft = {value.LowPart, value.HighPart};
  FileTimeToSystemTime(&ft, &st);
  char key[16];
  std::snprintf(key, sizeof key, "%04d%02d%02d", st.wYear, st.wMonth, st.wDay);
  return key;
}

class CommonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "kestro_common_test";
    RemoveTree(root_);
    gDataDir = root_ + "\\データ\\kestro\\";
    syslog_ = gDataDir + "syslog\\";
  }
  void TearDown() override { RemoveTree(root_); }
  std::string TodayLog() const { return syslog_ + DateKey(0) + ".txt"; }

  std::string root_, syslog_;
};

}  // namespace

TEST_F(CommonTest, LogLinesAreAppendedWithCrLfInANewFolder) {
  EXPECT_TRUE(fncWriteSysLog("Kestro,FormCreate()"));
  EXPECT_TRUE(fncWriteSysLog("Kestro,二行目  \r\n"));
  std::string text = ReadAll(TodayLog());
  ASSERT_EQ(text.size(), 2 * 24 + 9 + 19 + 2 + 9 + 13 + 2u);
  EXPECT_EQ(text.substr(23, 30), ",(KESTRO),Kestro,FormCreate()\r");
  EXPECT_EQ(text.substr(text.size() - 15), "Kestro,二行目\r\n");
  EXPECT_EQ(text[4], '/');
  EXPECT_EQ(text[19], '.');

  fncWriteSysLog(std::string(600, 'z'));
  text = ReadAll(TodayLog());
  size_t last = text.rfind("\r\n", text.size() - 3) + 2;
  EXPECT_EQ(text.size() - last, 514u);
}

TEST_F(CommonTest, ALineIsLostWhileAnotherWriterHoldsTheFile) {
  fncWriteSysLog("first");
  HANDLE held = CreateFileA(TodayLog().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(fncWriteSysLog("lost"));
  CloseHandle(held);
  EXPECT_EQ(ReadAll(TodayLog()).find("lost"), std::string::npos);
}

TEST_F(CommonTest, CleanUpDeletesOnlyDatedFilesUpToTheCutoff) {
  ASSERT_TRUE(ForceDirectories(syslog_));
  const std::string old = DateKey(-10), kept = DateKey(-9), future = DateKey(1);
  for (const std::string& name : {old + ".txt", kept + ".txt", future + ".txt", std::string("abcdefgh.txt"),
                                  "FTP" + old + ".txt", std::string("0.txt"), std::string("19990101.txt")})
    WriteText(syslog_ + name, "x\r\n");
  fncCleanUpSysLog("????????.txt", "10");
  EXPECT_FALSE(Exists(syslog_ + old + ".txt"));
  EXPECT_FALSE(Exists(syslog_ + "19990101.txt"));
  for (const std::string& name : {kept + ".txt", future + ".txt", std::string("abcdefgh.txt"),
                                  "FTP" + old + ".txt", std::string("0.txt")})
    EXPECT_TRUE(Exists(syslog_ + name)) << name;
  std::string log = ReadAll(TodayLog());
  EXPECT_NE(log.find("Clean up syslog."), std::string::npos);
  EXPECT_NE(log.find(DateKey(-10) + "以前の????????.txtデータを消去します。"), std::string::npos);
  EXPECT_NE(log.find("DeleteLog->" + syslog_ + "\\" + old + ".txt"), std::string::npos);

  fncCleanUpSysLog("FTP????????.txt", "10");
  EXPECT_FALSE(Exists(syslog_ + "FTP" + old + ".txt"));

  fncCleanUpSysLog("????????.txt", "0");
  EXPECT_TRUE(Exists(syslog_ + kept + ".txt"));  // "0" keeps ten days, today's log included
  EXPECT_TRUE(Exists(syslog_ + future + ".txt"));
  EXPECT_NE(ReadAll(TodayLog()).find("VALIDDAY=0<-正の整数ではないため10日とします。"), std::string::npos);
}

TEST_F(CommonTest, CleanUpRefusesAPatternWithoutDateAndABadDayCount) {
  fncCleanUpSysLog("syslog.txt", "10");
  EXPECT_NE(ReadAll(TodayLog()).find("指定ファイル種別不正"), std::string::npos);
  EXPECT_NO_THROW(fncCleanUpSysLog("????????.txt", "ten"));
}

TEST_F(CommonTest, DeleteAndCopyRetryThreeTimes) {
  ASSERT_TRUE(ForceDirectories(gDataDir + "a\\b"));
  std::string missing = gDataDir + "missing.jpg";
  DWORD start = GetTickCount();
  EXPECT_FALSE(fncDeleteFile(missing));
  DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 250u);
  EXPECT_LT(elapsed, 2000u);

  std::string source = gDataDir + "a\\b\\src.txt", target = gDataDir + "a\\dst.txt";
  WriteText(source, "data");
  EXPECT_TRUE(fncCopyFile(source, target, true));
  EXPECT_EQ(ReadAll(target), "data");
  EXPECT_FALSE(fncCopyFile(source, target, true));
  WriteText(source, "new");
  EXPECT_TRUE(fncCopyFile(source, target, false));
  EXPECT_EQ(ReadAll(target), "new");
  start = GetTickCount();
  EXPECT_TRUE(fncDeleteFile(target));
  EXPECT_LT(GetTickCount() - start, 100u);
  EXPECT_FALSE(Exists(target));
}

TEST_F(CommonTest, FindLocalFileTakesTheTagOfAReport) {
  std::string localDir = gDataDir + "images\\";
  ASSERT_TRUE(ForceDirectories(localDir + "20240305tag"));
  WriteText(localDir + "20240305tag\\PC120240305101010001_件名.tag", "");
  std::string found;
  EXPECT_TRUE(fncFindLocalFile(localDir, "20240305tag", "PC120240305101010001.jpg", found));
  EXPECT_EQ(found, "PC120240305101010001_件名.tag");
  EXPECT_FALSE(fncFindLocalFile(localDir, "20240305tag", "PC120240305101010002.jpg", found));
  EXPECT_EQ(found, "");
}

TEST(CommonSystem, ComputerNameFoldersAndMapping) {
  std::string name;
  EXPECT_FALSE(fncGetComputerName(name).empty());
  std::string folder;
  EXPECT_FALSE(fncGetSpecialFolder(35, folder).empty());
  EXPECT_NE(folder.back(), '\\');
  EXPECT_EQ(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  std::string mapped;
  EXPECT_EQ(fncMapString("abc.Jpg", LCMAP_UPPERCASE, mapped), "ABC.JPG");
  EXPECT_EQ(fncMapString("ABC表", LCMAP_LOWERCASE, mapped), "abc表");
  EXPECT_EQ(fncMapString("same", 0xFFFFFFFF, mapped), "same");
}
