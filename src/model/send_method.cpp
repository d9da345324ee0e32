#include "model/send_method.h"

namespace zepx {

const std::array<const char*, kSendMethodCount> kSendMethodCaptions = {
    "_event", "SendInput(DirectX)", "WinMessage"};

bool IsValidSendMethod(int method) { return method >= 0 && method < kSendMethodCount; }

int ClampSendMethod(std::int64_t method) {
  if (method < 0) return 0;
  if (method >= kSendMethodCount) return kSendMethodCount - 1;
  return static_cast<int>(method);
}

const char* SendMethodSwitchQuestion(int previous, int next) {
  if (!IsValidSendMethod(previous) || !IsValidSendMethod(next)) return nullptr;
  const bool was = previous == kSendWinMessage;
  const bool is = next == kSendWinMessage;
  if (was && !is)
    return "WinMessageから_event、SendInputに変更するには、Batch処理送信リストをクリアする必要があります"
           "\r\nクリアしてもよろしいですか？";
  if (!was && is)
    return "_event、SendInputからWinMessageに変更するには、Batch処理送信リストをクリアする必要があります"
           "\r\nクリアしてもよろしいですか？";
  return nullptr;
}

}  // namespace zepx
