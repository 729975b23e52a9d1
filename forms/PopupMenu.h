// A popup menu whose items may be owner-drawn. The owner form passes its
// WM_MEASUREITEM and WM_DRAWITEM messages to HandleMessage.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace forms {

class PopupMenu {
 public:
  struct Item {
    UINT id;
    std::string caption;
    std::function<void()> onClick;
  };

  PopupMenu() = default;
  ~PopupMenu() { if (menu_) DestroyMenu(menu_); }
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;

  // Adds an item; the caption "-" makes a separator line.
  UINT Add(const std::string& caption, std::function<void()> onClick = nullptr);
  void SetOwnerDraw(bool ownerDraw) { ownerDraw_ = ownerDraw; }
  const std::vector<Item>& Items() const { return items_; }
  HMENU Handle();

  // Shows the menu at a screen point and runs the chosen item's onClick.
  void Popup(HWND owner, int x, int y);

  bool HandleMessage(UINT msg, WPARAM w, LPARAM l, LRESULT& result);

  std::function<void(const Item&, MEASUREITEMSTRUCT&)> OnMeasureItem;
  std::function<void(const Item&, const DRAWITEMSTRUCT&)> OnDrawItem;

 private:
  const Item* Find(UINT id) const;

  HMENU menu_ = nullptr;
  bool ownerDraw_ = false;
  std::vector<Item> items_;
  UINT nextId_ = 100;
};

}  // namespace forms
