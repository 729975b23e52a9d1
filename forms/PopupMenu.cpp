#include "forms/PopupMenu.h"

#include <utility>

namespace forms {

UINT PopupMenu::Add(const std::string& caption, std::function<void()> onClick) {
  items_.push_back(Item{nextId_++, caption, std::move(onClick)});
  if (menu_) {
    DestroyMenu(menu_);
    menu_ = nullptr;
  }
  return items_.back().id;
}

HMENU PopupMenu::Handle() {
  if (menu_) return menu_;
  menu_ = CreatePopupMenu();
  for (const Item& item : items_) {
    // An owner-drawn separator stays a separator: it cannot be chosen.
    UINT flags = (item.caption == "-" ? MF_SEPARATOR : MF_STRING) | (ownerDraw_ ? MF_OWNERDRAW : 0);
    const void* data = ownerDraw_ ? static_cast<const void*>(&item) : item.caption.c_str();
    AppendMenuA(menu_, flags, item.id, static_cast<LPCSTR>(data));
  }
  return menu_;
}

const PopupMenu::Item* PopupMenu::Find(UINT id) const {
  for (const Item& item : items_)
    if (item.id == id) return &item;
  return nullptr;
}

void PopupMenu::Popup(HWND owner, int x, int y) {
  UINT chosen = TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, x, y, 0, owner, nullptr);
  PostMessageA(owner, WM_NULL, 0, 0);  // lets the menu close properly when the owner is hidden
  const Item* item = Find(chosen);
  if (item && item->onClick) item->onClick();
}

bool PopupMenu::HandleMessage(UINT msg, WPARAM, LPARAM l, LRESULT& result) {
  if (msg == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
    const Item* item = measure->CtlType == ODT_MENU ? Find(measure->itemID) : nullptr;
    if (!item || !OnMeasureItem) return false;
    OnMeasureItem(*item, *measure);
    result = TRUE;
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(l);
    const Item* item = draw->CtlType == ODT_MENU ? Find(draw->itemID) : nullptr;
    if (!item || !OnDrawItem) return false;
    OnDrawItem(*item, *draw);
    result = TRUE;
    return true;
  }
  return false;
}

}  // namespace forms
