// The comment editor's only window: the comment in an edit field with OK
// and Cancel. OK writes the comment as the first line of comment.tmp in the
// current folder; Cancel and WM_CLOSE end without an answer.
#pragma once
#include <windows.h>

#include <string>

#include "forms/Button.h"
#include "forms/Edit.h"
#include "forms/Form.h"
#include "forms/Label.h"

class TTagInformation : public forms::Form {
 public:
  explicit TTagInformation(std::string comment);

  // What a test asked for instead of a user (see Main.cpp): "OK:<text>"
  // confirms that text, "OK" the text as shown, "CANCEL" cancels; anything
  // else waits for the user.
  void SetScriptedAnswer(std::string answer) { scripted_ = std::move(answer); }

 protected:
  void FormCreate() override;
  void FormShow() override;
  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result) override;

 private:
  void btnOkClick();
  void btnCancelClick();
  void RunScriptedAnswer();

  std::string comment_;
  std::string scripted_;
  bool scriptStarted_ = false;
  forms::Label lblComment;
  forms::Edit edtComment;
  forms::Button btnOk;
  forms::Button btnCancel;
};

// Writes text + CR LF as comment.tmp into folder (ends in "\" or is "").
bool WriteCommentAnswer(const std::string& folder, const std::string& text);
