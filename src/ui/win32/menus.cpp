// Menu bars, their shortcuts, and pop-up menus.
#include <string>
#include <vector>

#include "ui/win32/native_parts.h"

namespace zepx::win32 {

namespace {

constexpr UINT kFirstMenuId = 100;

// "Ctrl+C" from a shortcut value (virtual key in the low byte, 0x2000
// Shift, 0x4000 Ctrl, 0x8000 Alt), for the menu text.
std::wstring ShortcutText(std::uint16_t sc) {
  std::wstring s;
  if (sc & 0x4000) s += L"Ctrl+";
  if (sc & 0x2000) s += L"Shift+";
  if (sc & 0x8000) s += L"Alt+";
  const unsigned vk = sc & 0xFF;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
    s += static_cast<wchar_t>(vk);
  } else if (vk >= VK_F1 && vk <= VK_F24) {
    s += L"F" + std::to_wstring(vk - VK_F1 + 1);
  } else {
    s += L"#" + std::to_wstring(vk);
  }
  return s;
}

std::uint16_t ShortcutOfKey(WPARAM vk) {
  std::uint16_t sc = static_cast<std::uint16_t>(vk & 0xFF);
  if (GetKeyState(VK_SHIFT) & 0x8000) sc |= 0x2000;
  if (GetKeyState(VK_CONTROL) & 0x8000) sc |= 0x4000;
  if (GetKeyState(VK_MENU) & 0x8000) sc |= 0x8000;
  return sc;
}

// A menu bar entry: its enabled state and its caption change.
class MenuItemNative : public INativeControl {
 public:
  MenuItemNative(HWND owner, HMENU parent, UINT position, bool top_level)
      : owner_(owner), parent_(parent), position_(position), top_level_(top_level) {}
  void SetEnabled(bool e) override {
    EnableMenuItem(parent_, position_, MF_BYPOSITION | (e ? MF_ENABLED : MF_GRAYED));
    if (top_level_) DrawMenuBar(owner_);
  }
  void SetText(const std::string& cp932) override {
    std::wstring text = Wide(cp932);
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STRING;
    mi.dwTypeData = text.data();
    SetMenuItemInfoW(parent_, position_, TRUE, &mi);
    if (top_level_) DrawMenuBar(owner_);
  }

 private:
  HWND owner_;
  HMENU parent_;
  UINT position_;
  bool top_level_;
};

}  // namespace

void FormWindow::BuildMenu() {
  if (form_.Menu.empty()) return;
  HMENU bar = CreateMenu();
  AddMenuItems(bar, form_.Menu, true);
  SetMenu(hwnd_, bar);
}

void FormWindow::AddMenuItems(HMENU menu, const std::vector<TMenuItem*>& items, bool top_level) {
  UINT position = 0;
  for (TMenuItem* item : items) {
    menu_items_.push_back(item);
    if (item->Caption() == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      std::wstring text = Wide(item->Caption());
      if (item->ShortCut) text += L"\t" + ShortcutText(item->ShortCut);
      if (!item->children.empty()) {
        HMENU sub = CreatePopupMenu();
        AddMenuItems(sub, item->children, false);
        popups_[sub] = item;
        AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      } else {
        const UINT id = kFirstMenuId + static_cast<UINT>(menu_ids_.size());
        menu_ids_[id] = item;
        AppendMenuW(menu, MF_STRING, id, text.c_str());
      }
      menu_natives_.push_back(std::make_unique<MenuItemNative>(hwnd_, menu, position, top_level));
      item->Bind(menu_natives_.back().get());
    }
    ++position;
  }
}

void FormWindow::PopupMenu(const std::vector<TMenuItem*>& items, int x, int y) {
  HMENU menu = CreatePopupMenu();
  for (std::size_t k = 0; k < items.size(); ++k) {
    const TMenuItem* item = items[k];
    if (item->Caption() == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    AppendMenuW(menu, MF_STRING | (item->Enabled() ? 0 : MF_GRAYED), k + 1,
                Wide(item->Caption()).c_str());
  }
  // Without the foreground the menu would not close when clicked away.
  SetForegroundWindow(hwnd_);
  const UINT cmd = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, hwnd_, nullptr));
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (cmd >= 1 && cmd <= items.size()) items[cmd - 1]->Click();
}

bool FormWindow::TryShortcut(WPARAM vk) {
  const std::uint16_t sc = ShortcutOfKey(vk);
  for (TMenuItem* item : menu_items_) {
    if (item->ShortCut != sc || !item->Enabled()) continue;
    item->Click();
    return true;
  }
  return false;
}

}  // namespace zepx::win32
