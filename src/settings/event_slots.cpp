#include "settings/event_slots.h"

namespace zepx {

const char* const kEventActionEntries[kEventActionEntryCount] = {
    "",
    "ダイヤルアップ切断",
    "Windowsスリープ",
    "Windows休止",
    "Windows再起動",
    "Windowsシャットダウン",
    "マクロ実行",
    "マクロ停止",
    "ファイル実行 1",
    "ファイル実行 2",
    "１秒ウエイト",
    "３秒ウエイト",
    "１０秒ウエイト",
    "Windowsスリープ",
    "Windows再起動",
};

namespace {

int EntryCount(int event, int slot) { return event == 1 && slot == 0 ? 13 : kEventActionEntryCount; }

}  // namespace

std::vector<std::string> EventActionItems(int event, int slot) {
  return std::vector<std::string>(kEventActionEntries, kEventActionEntries + EntryCount(event, slot));
}

std::string EventActionText(int event, int slot, std::int32_t index) {
  if (index < 0 || index >= EntryCount(event, slot)) return {};
  return kEventActionEntries[index];
}

}  // namespace zepx
