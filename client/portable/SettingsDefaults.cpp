#include "client/portable/SettingsDefaults.h"

#include "client/portable/FileNameText.h"
#include "client/portable/GlobalConstants.h"
#include "client/portable/SettingsKeys.h"

namespace {

constexpr int kDefaultTop = 280;
constexpr int kDefaultLeft = 36;
constexpr int kDefaultHeight = 350;
constexpr int kDefaultWidth = 470;
constexpr int kFirstNumber = 1;
constexpr int kLastNumber = 999;
constexpr char kDefaultServer[] = "127.0.0.1";
constexpr char kDefaultValidDay[] = "10";

// The drawing keys, which keep an empty value and default only when missing.
struct DrawingDefault {
  std::string SettingsValues::*member;
  const char* key;
  const char* value;
};
const DrawingDefault kDrawingDefaults[] = {
    {&SettingsValues::MASKCOLOR, "MASKCOLOR", "4"}, {&SettingsValues::WAKUTYPE, "WAKUTYPE", "1"},
    {&SettingsValues::WAKUCOLOR, "WAKUCOLOR", "1"}, {&SettingsValues::WAKUWIDTH, "WAKUWIDTH", "2"},
    {&SettingsValues::MOJISIZE, "MOJISIZE", "12"},  {&SettingsValues::MOJICOLOR, "MOJICOLOR", "2"},
    {&SettingsValues::YAJICOLOR, "YAJICOLOR", "1"}};

std::string Text(const RawSettings& raw, const char* key) {
  auto found = raw.find(key);
  return found == raw.end() ? std::string() : found->second;
}

int Integer(const RawSettings& raw, const char* key, int fallback) {
  return ParseSettingsInteger(Text(raw, key), fallback);
}


std::string ImagesFolder(const SettingsContext& context) { return context.dataDir + kestro::kImagesFolder; }
std::string SaveFolder(const SettingsContext& context) { return context.dataDir + kestro::kSaveFolder; }

}  // namespace

SettingsLoad SettingsFromFile(const RawSettings& raw, const SettingsContext& context) {
  SettingsLoad load;
  SettingsValues& v = load.values;
  v.DATE = Text(raw, "DATE");
  v.NUM = Integer(raw, "NUM", kFirstNumber);
  // Outside 1..999 the next report name would get a wrong counter.
  if (v.NUM < kFirstNumber || v.NUM > kLastNumber) v.NUM = kFirstNumber;
  v.OPERATION = Text(raw, "OPERATION");
  v.STYLE = Integer(raw, "STYLE", 0);
  v.EXCELPWD = Integer(raw, "EXCELPWD", 1);
  v.TOP = Integer(raw, "TOP", kDefaultTop);
  v.LEFT = Integer(raw, "LEFT", kDefaultLeft);
  v.HEIGHT = Integer(raw, "HEIGHT", kDefaultHeight);
  v.WIDTH = Integer(raw, "WIDTH", kDefaultWidth);
  v.SAVE = Integer(raw, "SAVE", 1);
  v.LOCALDIR = Text(raw, "LOCALDIR");
  v.FILESAVEPATH = Text(raw, "FILESAVEPATH");
  v.SHOW = Integer(raw, "SHOW", 1);
  v.SERVER = Text(raw, "SERVER");
  v.PASSWD = Text(raw, "PASSWD");
  v.USERID = Text(raw, "USERID");
  v.PROJECT = Text(raw, "PROJECT");
  v.VALIDDAY = Text(raw, "VALIDDAY");
  v.CRFLAG = Text(raw, "CRFLAG");
  v.CRSTR = Text(raw, "CRSTR");
  for (const DrawingDefault& drawing : kDrawingDefaults) {
    auto found = raw.find(drawing.key);
    v.*drawing.member = found == raw.end() ? drawing.value : found->second;
  }

  if (v.OPERATION.empty()) v.OPERATION = context.computerName;
  if (v.LOCALDIR.empty()) {
    v.LOCALDIR = ImagesFolder(context);
    load.foldersToCreate.push_back(v.LOCALDIR);
  }
  if (v.FILESAVEPATH.empty()) {
    v.FILESAVEPATH = SaveFolder(context);
    load.foldersToCreate.push_back(v.FILESAVEPATH);
  }
  v.LOCALDIR = WithTrailingBackslash(v.LOCALDIR);
  v.FILESAVEPATH = WithTrailingBackslash(v.FILESAVEPATH);
  if (v.SERVER.empty()) v.SERVER = kDefaultServer;
  if (v.VALIDDAY.empty()) v.VALIDDAY = kDefaultValidDay;
  return load;
}

SettingsLoad SettingsWithoutFile(const SettingsContext& context) {
  SettingsLoad load;
  SettingsValues& v = load.values;
  v.DATE = context.today;
  v.NUM = kFirstNumber;
  v.OPERATION = context.computerName;
  v.STYLE = 1;
  v.EXCELPWD = 1;
  v.TOP = kDefaultTop;
  v.LEFT = kDefaultLeft;
  v.HEIGHT = kDefaultHeight;
  v.WIDTH = kDefaultWidth;
  v.SAVE = 0;
  v.LOCALDIR = ImagesFolder(context);
  v.FILESAVEPATH = SaveFolder(context);  // made only when a present file leaves it empty
  v.SHOW = 1;
  v.SERVER = kDefaultServer;
  v.USERID = "anonymous";
  v.VALIDDAY = kDefaultValidDay;
  v.CRFLAG = "0";
  for (const DrawingDefault& drawing : kDrawingDefaults) v.*drawing.member = drawing.value;
  load.foldersToCreate.push_back(v.LOCALDIR);
  return load;
}
