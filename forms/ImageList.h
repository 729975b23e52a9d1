// A list of equally sized pictures drawn with one colour transparent.
#pragma once
#include <commctrl.h>

#include <windows.h>

namespace forms {

class ImageList {
 public:
  ImageList() = default;
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ~ImageList() {
    if (list_) ImageList_Destroy(list_);
  }
  bool Create(int width, int height) {
    if (list_) ImageList_Destroy(list_);
    list_ = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 2, 2);
    return list_ != nullptr;
  }
  // Adds a picture whose pixels of the colour `transparent` are not drawn;
  // the list keeps its own copy. The index, or -1.
  int AddMasked(HBITMAP picture, COLORREF transparent) const {
    return ImageList_AddMasked(list_, picture, transparent);
  }
  int Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }
  bool Draw(HDC dc, int index, int x, int y) const {
    return list_ && ImageList_Draw(list_, index, dc, x, y, ILD_TRANSPARENT) != FALSE;
  }
  HIMAGELIST Handle() const { return list_; }

 private:
  HIMAGELIST list_ = nullptr;
};

}  // namespace forms
