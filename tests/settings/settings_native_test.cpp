// Settings of [KESTRO]: defaults for a present and a missing file, key
// order, integer reading and the log lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "client/portable/SettingsDefaults.h"
#include "client/portable/SettingsKeys.h"
#include "client/portable/SettingsLog.h"

namespace {

const SettingsContext kContext{"C:\\ProgramData\\Veltrana\\kestro\\", "PC-01", "20061020"};

TEST(SettingsDefaults, FirstStartWithoutFile) {
  const SettingsLoad load = SettingsWithoutFile(kContext);
  const SettingsValues& v = load.values;
  EXPECT_EQ("20061020", v.DATE);
  EXPECT_EQ(1, v.NUM);
  EXPECT_EQ("PC-01", v.OPERATION);
  EXPECT_EQ(1, v.STYLE);
  EXPECT_EQ(1, v.EXCELPWD);
  EXPECT_EQ(280, v.TOP);
  EXPECT_EQ(36, v.LEFT);
  EXPECT_EQ(350, v.HEIGHT);
  EXPECT_EQ(470, v.WIDTH);
  EXPECT_EQ(0, v.SAVE);
  EXPECT_EQ("C:\\ProgramData\\Veltrana\\kestro\\images\\", v.LOCALDIR);
  EXPECT_EQ("C:\\ProgramData\\Veltrana\\kestro\\save\\", v.FILESAVEPATH);
  EXPECT_EQ(1, v.SHOW);
  EXPECT_EQ("127.0.0.1", v.SERVER);
  EXPECT_EQ("", v.PASSWD);
  EXPECT_EQ("anonymous", v.USERID);
  EXPECT_EQ("", v.PROJECT);
  EXPECT_EQ("10", v.VALIDDAY);
  EXPECT_EQ("0", v.CRFLAG);
  EXPECT_EQ("", v.CRSTR);
  EXPECT_EQ("4", v.MASKCOLOR);
  EXPECT_EQ("1", v.WAKUTYPE);
  EXPECT_EQ("1", v.WAKUCOLOR);
  EXPECT_EQ("2", v.WAKUWIDTH);
  EXPECT_EQ("12", v.MOJISIZE);
  EXPECT_EQ("2", v.MOJICOLOR);
  EXPECT_EQ("1", v.YAJICOLOR);
  // Only the local store is made; the shared folder is not.
  EXPECT_EQ(std::vector<std::string>{v.LOCALDIR}, load.foldersToCreate);
}

TEST(SettingsDefaults, PresentFileWithEmptySectionDiffersFromFirstStart) {
  const SettingsLoad load = SettingsFromFile({}, kContext);
  const SettingsValues& v = load.values;
  EXPECT_EQ("", v.DATE);
  EXPECT_EQ(1, v.NUM);
  EXPECT_EQ("PC-01", v.OPERATION);
  EXPECT_EQ(0, v.STYLE);
  EXPECT_EQ(1, v.EXCELPWD);
  EXPECT_EQ(280, v.TOP);
  EXPECT_EQ(1, v.SAVE);
  EXPECT_EQ("", v.USERID);
  EXPECT_EQ("", v.CRFLAG);
  EXPECT_EQ("127.0.0.1", v.SERVER);
  EXPECT_EQ("10", v.VALIDDAY);
  EXPECT_EQ("4", v.MASKCOLOR);
  EXPECT_EQ("12", v.MOJISIZE);
  EXPECT_EQ((std::vector<std::string>{"C:\\ProgramData\\Veltrana\\kestro\\images\\",
                                      "C:\\ProgramData\\Veltrana\\kestro\\save\\"}),
            load.foldersToCreate);
}

TEST(SettingsDefaults, EmptyKeysOfFirstTwentyActAsMissingButDrawingKeysStayEmpty) {
  RawSettings raw;
  for (const char* key : kSettingsKeys) raw[key] = "";
  const SettingsLoad load = SettingsFromFile(raw, kContext);
  const SettingsValues& v = load.values;
  EXPECT_EQ(SettingsFromFile({}, kContext).values.SERVER, v.SERVER);
  EXPECT_EQ("PC-01", v.OPERATION);
  EXPECT_EQ(0, v.STYLE);
  EXPECT_EQ(1, v.SAVE);
  EXPECT_EQ(2u, load.foldersToCreate.size());
  for (const std::string* drawing : {&v.MASKCOLOR, &v.WAKUTYPE, &v.WAKUCOLOR, &v.WAKUWIDTH, &v.MOJISIZE,
                                     &v.MOJICOLOR, &v.YAJICOLOR})
    EXPECT_EQ("", *drawing);

  // The same line without the key gives the default.
  raw.erase("MASKCOLOR");
  EXPECT_EQ("4", SettingsFromFile(raw, kContext).values.MASKCOLOR);
  EXPECT_EQ("", SettingsFromFile(raw, kContext).values.WAKUTYPE);
}

TEST(SettingsDefaults, IntegersThatAreNotNumbersGetTheirDefaults) {
  const RawSettings raw = {{"STYLE", "abc"},     {"EXCELPWD", "1x"},  {"TOP", "-5"},
                           {"LEFT", " 40"},      {"HEIGHT", "3.5"},   {"WIDTH", "99999999999"},
                           {"SAVE", "+0"},       {"SHOW", "-"}};
  const SettingsValues v = SettingsFromFile(raw, kContext).values;
  EXPECT_EQ(0, v.STYLE);
  EXPECT_EQ(1, v.EXCELPWD);
  EXPECT_EQ(-5, v.TOP);
  EXPECT_EQ(40, v.LEFT);
  EXPECT_EQ(350, v.HEIGHT);
  EXPECT_EQ(470, v.WIDTH);
  EXPECT_EQ(0, v.SAVE);
  EXPECT_EQ(1, v.SHOW);
  EXPECT_EQ(-2147483647 - 1, ParseSettingsInteger("-2147483648", 7));
  EXPECT_EQ(7, ParseSettingsInteger("2147483648", 7));
  EXPECT_EQ(7, ParseSettingsInteger("", 7));
}

TEST(SettingsDefaults, CounterOutsideItsRangeRestartsAtOne) {
  const std::pair<const char*, int> cases[] = {{"0", 1},  {"1000", 1}, {"-3", 1},
                                               {"999", 999}, {"1", 1},   {"57", 57}, {"x", 1}};
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(expected, SettingsFromFile({{"NUM", text}}, kContext).values.NUM) << text;
}

TEST(SettingsDefaults, StoreFoldersGetOneTrailingBackslash) {
  const SettingsLoad load =
      SettingsFromFile({{"LOCALDIR", "D:\\store"}, {"FILESAVEPATH", "\\\\server\\share\\"}}, kContext);
  EXPECT_EQ("D:\\store\\", load.values.LOCALDIR);
  EXPECT_EQ("\\\\server\\share\\", load.values.FILESAVEPATH);
  EXPECT_TRUE(load.foldersToCreate.empty());  // folders the user chose are not made here

  // "表" ends in the byte 0x5C, which is not a path separator there.
  const std::string table = "D:\\\x95\x5C";
  EXPECT_EQ(table + "\\", SettingsFromFile({{"LOCALDIR", table}}, kContext).values.LOCALDIR);
}

TEST(SettingsKeys, AllKeysInTheirOrderAndTheValuesReadBack) {
  SettingsValues v = SettingsWithoutFile(kContext).values;
  v.NUM = 12;
  v.TOP = -3;
  v.PASSWD = "pw";
  v.PROJECT = "営業部";
  v.MASKCOLOR = "";
  const SettingsPairs pairs = SettingsKeyValues(v);
  ASSERT_EQ(27u, pairs.size());
  const std::vector<std::string> order = {
      "DATE", "NUM", "OPERATION", "STYLE", "EXCELPWD", "TOP", "LEFT", "HEIGHT", "WIDTH",
      "SAVE", "LOCALDIR", "FILESAVEPATH", "SHOW", "SERVER", "PASSWD", "USERID", "PROJECT",
      "VALIDDAY", "CRFLAG", "CRSTR", "MASKCOLOR", "WAKUTYPE", "WAKUCOLOR", "WAKUWIDTH",
      "MOJISIZE", "MOJICOLOR", "YAJICOLOR"};
  RawSettings raw;
  for (size_t i = 0; i < pairs.size(); ++i) {
    EXPECT_EQ(order[i], pairs[i].first);
    raw[pairs[i].first] = pairs[i].second;
  }
  EXPECT_EQ("12", pairs[1].second);
  EXPECT_EQ("-3", pairs[5].second);
  EXPECT_EQ(v, SettingsFromFile(raw, kContext).values);
}

TEST(SettingsLog, PasswordIsMaskedPerByteAndOnlyForAPresentFile) {
  SettingsValues v = SettingsFromFile({{"PASSWD", "abc"}}, kContext).values;
  std::vector<std::string> lines = SettingsReadLogLines(v, true);
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "fncSysRead()FTPパスワード=***"));
  for (const std::string& line : lines) EXPECT_EQ(std::string::npos, line.find("abc")) << line;
  EXPECT_EQ(20u, lines.size());

  v.PASSWD = "鍵";  // two bytes
  lines = SettingsReadLogLines(v, true);
  EXPECT_NE(lines.end(), std::find(lines.begin(), lines.end(), "fncSysRead()FTPパスワード=**"));

  v.PASSWD.clear();
  EXPECT_EQ(19u, SettingsReadLogLines(v, true).size());
}

TEST(SettingsLog, LinesInOrderForBothCases) {
  const SettingsValues fromFile = SettingsFromFile({{"PASSWD", "x"}, {"CRSTR", "abc"}}, kContext).values;
  const std::vector<std::string> a = SettingsReadLogLines(fromFile, true);
  const std::vector<std::string> expectedA = {
      "fncSysRead()処理日=", "fncSysRead()処理番号=1", "fncSysRead()端末名=PC-01", "fncSysRead()保存=0",
      "fncSysRead()画像Top=280", "fncSysRead()画像Left=36", "fncSysRead()画像高さ=350",
      "fncSysRead()画像幅存=470", "fncSysRead()保存先=1",
      "fncSysRead()ファイル保存先=C:\\ProgramData\\Veltrana\\kestro\\save\\",
      "fncSysRead()一次ローカル保存先=C:\\ProgramData\\Veltrana\\kestro\\images\\",
      "fncSysRead()画面表示=1", "fncSysRead()サーバーアドレス=127.0.0.1", "fncSysRead()FTPパスワード=*",
      "fncSysRead()ユーザーID=", "fncSysRead()プロジェクト=", "fncSysRead()ログ有効期限=10",
      "fncSysRead()埋め込み文字有無=", "fncSysRead()埋め込み文字=abc", "fncSysRead()塗りつぶし色タイプ=4"};
  EXPECT_EQ(expectedA, a);

  const std::vector<std::string> b = SettingsReadLogLines(SettingsWithoutFile(kContext).values, false);
  ASSERT_EQ(18u, b.size());
  EXPECT_EQ("fncSysRead()処理日=20061020", b[0]);
  EXPECT_EQ("fncSysRead()ローカル保存先=C:\\ProgramData\\Veltrana\\kestro\\images\\", b[9]);
  EXPECT_EQ("fncSysRead()ユーザーID=anonymous", b[12]);
}

}  // namespace
