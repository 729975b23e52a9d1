// Helper of scripts/screenshot-editor.sh: takes a capture of a sample
// window, opens the editor on it, applies each tool in turn and saves a
// picture of the screen after each step into the folder named by argv[1].
#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "client/EditorPicture.h"
#include "client/Global.h"
#include "client/NumberDialog.h"
#include "client/PictureEditor.h"
#include "client/SettingsValues.h"
#include "client/TextDialog.h"
#include "forms/Application.h"
#include "forms/Button.h"
#include "forms/Edit.h"
#include "forms/Form.h"
#include "forms/Label.h"
#include "forms/MessageBox.h"
#include "forms/Timer.h"

namespace {

std::string gOut;
int gStep = 0;

void Pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (GetTickCount() < end) {
    forms::Application::Instance().ProcessMessages();
    Sleep(20);
  }
}

// The screen (or a part of it) as a JPEG file.
bool Grab(const std::string& path, int width, int height) {
  EditorPicture shot;
  if (!shot.Create(width, height)) return false;
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Dc(), 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ReleaseDC(nullptr, screen);
  try {
    shot.SaveJpeg(path);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return false;
  }
  return true;
}

void Shot(const std::string& name) {
  Pump(300);
  char file[64];
  std::snprintf(file, sizeof file, "editor-%02d-%s.jpg", ++gStep, name.c_str());
  if (Grab(gOut + file, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)))
    std::printf("%s\n", file);
}

// Runs action; once the dialog shows, takes a shot and runs answer.
void WithDialog(forms::Window& dialog, const std::string& name, const std::function<void()>& answer,
                const std::function<void()>& action) {
  forms::Timer timer;
  timer.SetInterval(200);
  timer.OnTimer = [&] {
    if (!dialog.IsVisible()) return;
    timer.SetEnabled(false);
    Shot(name);
    answer();
  };
  timer.SetEnabled(true);
  action();
  timer.SetEnabled(false);
}

void Drag(TForm5& editor, int x1, int y1, int x2, int y2) {
  editor.imgVewMouseDown(forms::MouseButton::Left, x1, y1);
  editor.imgVewMouseMove(x2, y2);
  editor.imgVewMouseUp(forms::MouseButton::Left, x2, y2);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: editor_screenshots <output folder>\n");
    return 2;
  }
  gOut = argv[1];
  if (!gOut.empty() && gOut.back() != '\\') gOut += '\\';
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  gDataDir = std::string(temp) + "kestro_editor_shots\\";
  CreateDirectoryA(gDataDir.c_str(), nullptr);
  CreateDirectoryA((gDataDir + "temp").c_str(), nullptr);
  forms::Application::Instance().SetTitle("Kestro");
  forms::SetMessageBoxHook([](const forms::MessageBoxRecord&) { return IDOK; });
  gSettings.MASKCOLOR = "5";
  gSettings.WAKUTYPE = "2";
  gSettings.WAKUCOLOR = "1";
  gSettings.WAKUWIDTH = "1";
  gSettings.MOJISIZE = "14";
  gSettings.MOJICOLOR = "3";
  gSettings.YAJICOLOR = "1";

  // A sample window on the screen, captured as the picture to edit.
  forms::Form sample("EditorShotSample", "受付システム - 顧客一覧");
  sample.Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 640, 420);
  sample.Move(0, 0, 640, 420);
  forms::Label label;
  label.Create(sample, "顧客番号", 20, 20, 100, 20);
  forms::Edit edit;
  edit.Create(sample, 130, 18, 200, 22, 10);
  edit.SetText("A-10234");
  forms::Label message;
  message.Create(sample, "エラー：顧客情報を読み込めませんでした。(code 0x80004005)", 20, 60, 560, 20);
  forms::Button retry, cancel;
  retry.Create(sample, "再試行", 380, 320, 100, 28, 11);
  cancel.Create(sample, "キャンセル", 500, 320, 100, 28, 12);
  Pump(500);
  const std::string capture = gDataDir + "temp\\000001_0.jpg";
  if (!Grab(capture, 640, 420)) return 1;
  Shot("capture");
  sample.Show(SW_HIDE);

  forms::Form mainForm("EditorShotMain", "main");
  mainForm.Create();
  TFrmSetNumber number;
  TFrmSetString text;
  TForm5 editor;
  FrmSetNumber = &number;
  FrmSetString = &text;
  number.Create();
  text.Create();
  editor.Create();
  std::string error;
  if (!editor.LoadCapture(capture, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  editor.Show(SW_SHOW);
  Shot("opened");

  // The menu, shot while it is open.
  forms::Timer menuTimer;
  menuTimer.SetInterval(300);
  menuTimer.OnTimer = [&] {
    menuTimer.SetEnabled(false);
    Shot("menu");
    EndMenu();
  };
  menuTimer.SetEnabled(true);
  POINT at{300, 200};
  ClientToScreen(editor.imgVew, &at);
  editor.pm1.Popup(editor, at.x, at.y);
  menuTimer.SetEnabled(false);

  Drag(editor, 125, 55, 420, 85);
  Shot("mask");
  editor.N2Click();
  editor.imgVewMouseUp(forms::MouseButton::Left, 20, 90);
  Shot("check-icon");
  WithDialog(number, "start-number-dialog",
             [&] {
               number.txtMoji.SetText("9");
               number.SpeedButton1Click();
             },
             [&] { editor.N7Click(); });
  editor.N3Click();
  editor.imgVewMouseUp(forms::MouseButton::Left, 330, 250);
  editor.imgVewMouseUp(forms::MouseButton::Left, 400, 250);
  Shot("numbered-icons-9-10");
  editor.N10Click();
  Drag(editor, 370, 310, 610, 360);
  Shot("frame-thin-solid");
  gSettings.WAKUWIDTH = "2";
  gSettings.WAKUCOLOR = "3";
  Drag(editor, 10, 10, 340, 45);
  Shot("frame-thick-dashdot");
  gSettings.WAKUTYPE = "1";
  gSettings.WAKUWIDTH = "1";
  Drag(editor, 10, 110, 300, 200);
  Shot("frame-dotted");
  editor.N12Click();
  text.Memo1.SetText("ここで読み込みエラー\r\n\r\n再試行しても同じ");
  WithDialog(text, "text-dialog", [&] { text.SpeedButton1Click(); }, [&] { Drag(editor, 600, 260, 160, 220); });
  Shot("framed-text");
  editor.N13Click();
  Drag(editor, 560, 200, 440, 330);
  Shot("arrow");
  Drag(editor, 300, 150, 160, 150);
  Shot("arrow-dx-ge-dy");
  editor.N15Click();
  Drag(editor, 0, 0, 620, 380);
  Shot("crop");
  editor.N11Click();
  Shot("undo-once");
  editor.N5Click();
  Shot("undo-all");
  editor.Show(SW_HIDE);
  return 0;
}
