// fncSysRead / fncSysWrite through the system's private-profile functions:
// file bytes in code page 932, the round trip, the folders and failures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "client/ClientSettings.h"
#include "client/Global.h"

namespace {

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, n);
    std::fclose(file);
  }
  return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, file) << path;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(folder + name + "\\");
      else
        DeleteFileA((folder + name).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder.c_str());
}

std::string Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return text;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(932u, GetACP());
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    gDataDir = std::string(temp) + "kestro_settings_test\\";
    RemoveTree(gDataDir);
    ASSERT_TRUE(CreateDirectoryA(gDataDir.c_str(), nullptr));
    gIniPath = gDataDir + "Kestro.ini";
    gComputerName = "検査端末";
    gSettings = SettingsValues();
  }
  void TearDown() override { RemoveTree(gDataDir); }

  std::string SysLog() { return ReadBytes(gDataDir + "syslog\\" + Today() + ".txt"); }
  std::string Profile(const char* key) {
    char value[512] = {};
    GetPrivateProfileStringA("KESTRO", key, "(missing)", value, sizeof value, gIniPath.c_str());
    return value;
  }
};

TEST_F(SettingsFileTest, FirstStartWritesEveryKeyInOrder) {
  ASSERT_TRUE(fncSysRead());
  EXPECT_TRUE(IsFolder(gDataDir + "images"));
  EXPECT_FALSE(IsFolder(gDataDir + "save"));
  const std::string log = SysLog();
  EXPECT_NE(std::string::npos, log.find(",(KESTRO),Kestro,fncSysRead()iniFile=NotFound\r\n"));
  EXPECT_EQ(std::string::npos, log.find("FTPパスワード"));

  ASSERT_TRUE(fncSysWrite());
  const std::string expected =
      "[KESTRO]\r\nDATE=" + Today() + "\r\nNUM=1\r\nOPERATION=検査端末\r\nSTYLE=1\r\nEXCELPWD=1\r\n"
      "TOP=280\r\nLEFT=36\r\nHEIGHT=350\r\nWIDTH=470\r\nSAVE=0\r\nLOCALDIR=" + gDataDir + "images\\\r\n"
      "FILESAVEPATH=" + gDataDir + "save\\\r\nSHOW=1\r\nSERVER=127.0.0.1\r\nPASSWD=\r\nUSERID=anonymous\r\n"
      "PROJECT=\r\nVALIDDAY=10\r\nCRFLAG=0\r\nCRSTR=\r\nMASKCOLOR=4\r\nWAKUTYPE=1\r\nWAKUCOLOR=1\r\n"
      "WAKUWIDTH=2\r\nMOJISIZE=12\r\nMOJICOLOR=2\r\nYAJICOLOR=1\r\n";
  EXPECT_EQ(expected, ReadBytes(gIniPath));
}

TEST_F(SettingsFileTest, JapaneseValuesComeBackByteExact) {
  SettingsValues v;
  v.DATE = "20061020";
  v.NUM = 998;
  v.OPERATION = "営業部端末";
  v.STYLE = 0;
  v.EXCELPWD = 2;
  v.TOP = -10;
  v.LEFT = 0;
  v.HEIGHT = 1200;
  v.WIDTH = 1600;
  v.SAVE = 1;
  v.LOCALDIR = "D:\\報告\\表\\";  // 表 ends in 0x5C
  v.FILESAVEPATH = "\\\\server\\共有\\";
  v.SHOW = 0;
  v.SERVER = "192.168.1.10";
  v.PASSWD = "pw9Zq";
  v.USERID = "user";
  v.PROJECT = "営業部";
  v.VALIDDAY = "30";
  v.CRFLAG = "1";
  v.CRSTR = "社外秘　ソフト";
  v.MASKCOLOR = "";
  v.WAKUTYPE = "2";
  v.WAKUCOLOR = "3";
  v.WAKUWIDTH = "1";
  v.MOJISIZE = "24";
  v.MOJICOLOR = "5";
  v.YAJICOLOR = "";
  gSettings = v;
  ASSERT_TRUE(fncSysWrite());
  const std::string written = ReadBytes(gIniPath);
  // 営業部 in code page 932, whatever the compiler's character set.
  EXPECT_NE(std::string::npos, written.find("\r\nPROJECT=\x89\x63\x8B\xC6\x95\x94\r\n"));
  EXPECT_NE(std::string::npos, written.find("\r\nLOCALDIR=D:\\\x95\xF1\x8D\x90\\\x95\x5C\\\r\n"));
  EXPECT_NE(std::string::npos, written.find("\r\nMASKCOLOR=\r\n"));

  gSettings = SettingsValues();
  ASSERT_TRUE(fncSysRead());
  EXPECT_EQ(v, gSettings);
  EXPECT_TRUE(fncSysWrite());
  EXPECT_EQ(written, ReadBytes(gIniPath));

  const std::string log = SysLog();
  EXPECT_NE(std::string::npos, log.find("Kestro,fncSysRead()iniFile=Read\r\n"));
  EXPECT_NE(std::string::npos, log.find("Kestro,fncSysRead()FTPパスワード=*****\r\n"));
  EXPECT_NE(std::string::npos, log.find("Kestro,fncSysRead()一次ローカル保存先=D:\\報告\\表\\\r\n"));
  EXPECT_EQ(std::string::npos, log.find("pw9Zq"));
  EXPECT_NE(std::string::npos, log.find("Kestro,fncSysWrite()\r\n"));
}

TEST_F(SettingsFileTest, PresentFileKeepsEmptyDrawingKeysAndMatchesKeysInAnyCase) {
  WriteBytes(gIniPath, "[kestro]\r\nmaskcolor=\r\nLocalDir=D:\\store\r\nnum=0\r\nCRSTR=abc\r\n");
  ASSERT_TRUE(fncSysRead());
  EXPECT_EQ("", gSettings.MASKCOLOR);
  EXPECT_EQ("1", gSettings.WAKUTYPE);
  EXPECT_EQ("D:\\store\\", gSettings.LOCALDIR);
  EXPECT_EQ(1, gSettings.NUM);
  EXPECT_EQ(0, gSettings.STYLE);
  EXPECT_EQ(1, gSettings.SAVE);
  EXPECT_EQ("", gSettings.USERID);
  EXPECT_EQ("", gSettings.DATE);
  EXPECT_EQ("abc", gSettings.CRSTR);
  EXPECT_EQ(gDataDir + "save\\", gSettings.FILESAVEPATH);
  EXPECT_TRUE(IsFolder(gDataDir + "save"));
  EXPECT_FALSE(IsFolder(gDataDir + "images"));

  ASSERT_TRUE(fncSysWrite());
  EXPECT_EQ("D:\\store\\", Profile("LOCALDIR"));
  EXPECT_EQ("", Profile("MASKCOLOR"));
  EXPECT_EQ("1", Profile("NUM"));
  EXPECT_EQ("1", Profile("YAJICOLOR"));
}

TEST_F(SettingsFileTest, TroubleRaisesWithTheCause) {
  // A data folder below a plain file: the local store cannot be made.
  WriteBytes(gDataDir + "plain", "x");
  const std::string realData = gDataDir;
  gDataDir = realData + "plain\\data\\";
  gIniPath = gDataDir + "Kestro.ini";
  EXPECT_THROW(fncSysRead(), std::runtime_error);
  gDataDir = realData;

  // A folder where the file should be: nothing can be written.
  gIniPath = gDataDir + "folder.ini";
  ASSERT_TRUE(CreateDirectoryA(gIniPath.c_str(), nullptr));
  try {
    fncSysWrite();
    ADD_FAILURE() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string::npos, std::string(e.what()).find(gIniPath)) << e.what();
  }

  // A file that is open without sharing is not read as an empty one.
  gIniPath = gDataDir + "Kestro.ini";
  WriteBytes(gIniPath, "[KESTRO]\r\nSTYLE=1\r\n");
  HANDLE locked = CreateFileA(gIniPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, locked);
  EXPECT_THROW(fncSysRead(), std::runtime_error);
  CloseHandle(locked);
  EXPECT_EQ("[KESTRO]\r\nSTYLE=1\r\n", ReadBytes(gIniPath));
}

}  // namespace
