// The panel that the registration and list forms show while they post: a
// caption, a progress line and a playing clip. The controls stay members
// of the form; this object lays them out and runs them.
#pragma once
#include <windows.h>

#include "forms/Animate.h"
#include "forms/Label.h"
#include "forms/Panel.h"

class PostAnimation {
 public:
  PostAnimation(forms::Panel& panel, forms::Label& caption, forms::Label& progress, forms::Animate& clip)
      : panel_(panel), caption_(caption), progress_(progress), clip_(clip) {}

  // Creates the bordered panel on the form at the top given.
  void Create(HWND form, int top, int panelId, int clipId) const;
  // Centres the panel across width (form coordinates), shows it on top and
  // plays <exe>pctopost.avi, or the shell's copy-files clip without it. A
  // clip that cannot be opened leaves the panel still. False after an error.
  bool Show(HWND form, int width) const;
  // Stops and closes the clip and hides the panel.
  void Hide() const;

 private:
  forms::Panel& panel_;
  forms::Label& caption_;
  forms::Label& progress_;
  forms::Animate& clip_;
};
