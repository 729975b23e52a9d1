#include "client/portable/SettingsLog.h"

#include "client/portable/RepeatString.h"

std::vector<std::string> SettingsReadLogLines(const SettingsValues& v, bool fromFile) {
  using std::to_string;
  const std::string head = "fncSysRead()";
  std::vector<std::string> lines = {
      head + "処理日=" + v.DATE,          head + "処理番号=" + to_string(v.NUM),
      head + "端末名=" + v.OPERATION,     head + "保存=" + to_string(v.STYLE),
      head + "画像Top=" + to_string(v.TOP), head + "画像Left=" + to_string(v.LEFT),
      head + "画像高さ=" + to_string(v.HEIGHT), head + "画像幅存=" + to_string(v.WIDTH),
      head + "保存先=" + to_string(v.SAVE)};
  if (fromFile) {
    lines.push_back(head + "ファイル保存先=" + v.FILESAVEPATH);
    lines.push_back(head + "一次ローカル保存先=" + v.LOCALDIR);
  } else {
    lines.push_back(head + "ローカル保存先=" + v.LOCALDIR);
  }
  lines.push_back(head + "画面表示=" + to_string(v.SHOW));
  lines.push_back(head + "サーバーアドレス=" + v.SERVER);
  if (fromFile && !v.PASSWD.empty()) {
    std::string masked;
    fncRepeatString(v.PASSWD, "*", masked);
    lines.push_back(head + "FTPパスワード=" + masked);
  }
  lines.push_back(head + "ユーザーID=" + v.USERID);
  lines.push_back(head + "プロジェクト=" + v.PROJECT);
  lines.push_back(head + "ログ有効期限=" + v.VALIDDAY);
  lines.push_back(head + "埋め込み文字有無=" + v.CRFLAG);
  lines.push_back(head + "埋め込み文字=" + v.CRSTR);
  lines.push_back(head + "塗りつぶし色タイプ=" + v.MASKCOLOR);
  return lines;
}
