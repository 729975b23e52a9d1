// The common save dialog (GetSaveFileNameA, explorer style) with a hook that
// reports each change of folder while the dialog is open. Under test the
// answer may be given by KESTRO_SAVEDIALOG_REPLY (a path; empty: cancel).
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

class SaveDialog {
 public:
  std::string InitialDir;
  std::string FileName;  // in: the proposed name; out: the chosen path
  std::string Title;
  const char* Filter = nullptr;      // pairs of "text\0pattern\0", ending "\0"
  const char* DefaultExt = nullptr;  // added to a name typed without one
  DWORD Options = OFN_HIDEREADONLY;
  // Called on every change of folder while the dialog is open.
  std::function<void()> OnFolderChange;

  // Shows the dialog; true when the user pressed Save (FileName is then
  // the whole path), false on Cancel or when the dialog cannot be shown.
  bool Execute(HWND owner) {
    // Read wide: the ANSI call cuts a double-byte path short under Wine.
    wchar_t reply[MAX_PATH] = {};
    const DWORD given = GetEnvironmentVariableW(L"KESTRO_SAVEDIALOG_REPLY", reply, MAX_PATH);
    if (given > 0 && given < MAX_PATH) {
      char path[MAX_PATH * 2] = {};
      WideCharToMultiByte(CP_ACP, 0, reply, -1, path, sizeof path, nullptr, nullptr);
      FileName = path;
      return true;
    }
    if (given == 0 && GetLastError() != ERROR_ENVVAR_NOT_FOUND) return false;
    std::vector<char> name(32768, '\0');
    FileName.copy(name.data(), name.size() - 1);
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = Filter;
    ofn.lpstrDefExt = DefaultExt;
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = Options | OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
    ofn.lpfnHook = &SaveDialog::Hook;
    dialog_ = nullptr;
    const bool chosen = GetSaveFileNameA(&ofn) != FALSE;
    dialog_ = nullptr;
    if (chosen) FileName = name.data();
    return chosen;
  }

  // While the dialog is open: the text of its file name field.
  void SetFileNameText(const std::string& text) {
    FileName = text;
    if (!dialog_) return;
    // The name field is edt1 or, in newer layouts, the combo box cmb13.
    for (int field : {edt1, cmb13})
      SendMessageA(dialog_, CDM_SETCONTROLTEXT, static_cast<WPARAM>(field), reinterpret_cast<LPARAM>(text.c_str()));
  }

 private:
  static UINT_PTR CALLBACK Hook(HWND child, UINT msg, WPARAM, LPARAM l) {
    if (msg == WM_INITDIALOG) {
      auto* ofn = reinterpret_cast<OPENFILENAMEA*>(l);
      SetWindowLongPtrA(child, DWLP_USER, static_cast<LONG_PTR>(ofn->lCustData));
      reinterpret_cast<SaveDialog*>(ofn->lCustData)->dialog_ = GetParent(child);
      return 0;
    }
    if (msg != WM_NOTIFY) return 0;
    auto* self = reinterpret_cast<SaveDialog*>(GetWindowLongPtrA(child, DWLP_USER));
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(l);
    if (self && notify->hdr.code == CDN_FOLDERCHANGE && self->OnFolderChange) self->OnFolderChange();
    return 0;
  }

  HWND dialog_ = nullptr;
};

}  // namespace forms
