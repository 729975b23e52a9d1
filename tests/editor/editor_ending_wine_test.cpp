// The client ending while the editor is open: it asks nothing and saves
// only when the last close question of the process was answered OK.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "client/EditorPicture.h"
#include "client/Global.h"
#include "client/PictureEditor.h"
#include "client/SettingsValues.h"
#include "forms/Application.h"
#include "forms/Form.h"
#include "forms/MessageBox.h"
#include "forms/Timer.h"
#include "tests/client/WineTestFiles.h"

namespace {

TEST(EditorEnding, EndingClosesTheModalEditorWithoutAQuestion) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  gDataDir = std::string(temp) + "kestro_editor_end_" + std::to_string(GetCurrentProcessId()) + "\\";
  CreateDirectoryA(gDataDir.c_str(), nullptr);
  CreateDirectoryA((gDataDir + "temp").c_str(), nullptr);
  gSettings.MASKCOLOR = "2";
  const std::string capture = gDataDir + "temp\\000002_1.jpg";
  EditorPicture white;
  ASSERT_TRUE(white.Create(120, 90));
  white.SaveJpeg(capture);

  std::vector<forms::MessageBoxRecord> shown;
  forms::SetMessageBoxHook([&](const forms::MessageBoxRecord& r) {
    shown.push_back(r);
    return IDOK;
  });
  forms::Form mainForm("EditorEndingMain", "main");
  ASSERT_TRUE(mainForm.Create());
  TForm5 editor;
  ASSERT_TRUE(editor.Create());
  int saved = 0;
  editor.OnSaved = [&](const std::string&) { ++saved; };

  // A first opening closed with OK sets the answer that the ending keeps.
  ASSERT_TRUE(editor.LoadCapture(capture, nullptr));
  editor.Show(SW_SHOW);
  ASSERT_TRUE(editor.Close());
  ASSERT_TRUE(editor.SaveOnClose());
  ASSERT_EQ(1, saved);

  forms::Timer ending;
  ending.SetInterval(100);
  ending.OnTimer = [&] {
    if (!editor.IsVisible()) return;
    ending.SetEnabled(false);
    editor.imgVewMouseDown(forms::MouseButton::Left, 0, 0);
    editor.imgVewMouseUp(forms::MouseButton::Left, 50, 50);  // a black mask
    shown.clear();
    gClosing = true;
    forms::Application::Instance().Terminate();
  };
  ending.SetEnabled(true);
  EXPECT_TRUE(editor.OpenFor(mainForm, capture));
  EXPECT_FALSE(editor.IsVisible());
  EXPECT_TRUE(shown.empty()) << "no question while the client ends";
  EXPECT_EQ(2, saved);
  EditorPicture reloaded;
  reloaded.LoadJpeg(capture);
  EXPECT_LT(GetRValue(reloaded.Pixel(25, 25)), 40) << "the mask was saved";
  forms::SetMessageBoxHook(nullptr);
  RemoveTree(gDataDir.substr(0, gDataDir.size() - 1));
}

}  // namespace
