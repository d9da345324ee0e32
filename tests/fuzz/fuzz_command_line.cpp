// The command-line reader and composer, on any bytes.
//
// The input, taken whole as one line: reading it never fails; a line read
// as `exact` composes back to itself; composing what was read gives a line
// that reads back exactly, with the parts the composer wrote. The same
// input, taken apart as the composer's fields (kind, placement, flags,
// numbers, text, target): every line ComposeNewCommand writes is one the
// loader takes and, when the reader can tell its parts apart, reads back
// exactly with the fields put in.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "base/text.h"
#include "fuzz_check.h"
#include "model/command_line.h"

namespace zepx {
namespace {

using fuzz::Shown;

bool SameModifiers(const Modifiers& a, const Modifiers& b) {
  return a.shift == b.shift && a.alt == b.alt && a.ctrl == b.ctrl;
}

// The parts ComposeCommandLine writes for the reading's form.
bool SameWrittenParts(const CommandLine& a, const CommandLine& b) {
  if (a.form != b.form || a.word != b.word) return false;
  switch (a.form) {
    case LineForm::Wait: return a.wait_ms == b.wait_ms;
    case LineForm::Mouse: return a.no_set == b.no_set && (a.no_set || (a.x == b.x && a.y == b.y));
    case LineForm::Text:
      return SameModifiers(a.modifiers, b.modifiers) && a.text == b.text && a.target == b.target;
    case LineForm::FrontApp: return SameModifiers(a.modifiers, b.modifiers) && a.app_title == b.app_title;
    case LineForm::Key: return SameModifiers(a.modifiers, b.modifiers) && a.target == b.target;
    case LineForm::Event: return true;
    case LineForm::Other: return true;
  }
  return false;
}

void CheckReading(const std::string& line) {
  const CommandLine c = ReadCommandLine(line);
  const std::string composed = ComposeCommandLine(c);
  if (c.exact) FUZZ_CHECK(composed == line, Shown(line) + " composes as " + Shown(composed));
  if (c.form == LineForm::Other) {
    FUZZ_CHECK(!c.exact && composed.empty(), Shown(line));
    return;
  }
  const CommandLine again = ReadCommandLine(composed);
  FUZZ_CHECK(again.exact, Shown(line) + " composes as " + Shown(composed) + ", which composes as " +
                              Shown(ComposeCommandLine(again)));
  FUZZ_CHECK(SameWrittenParts(c, again), Shown(line) + " composes as " + Shown(composed) +
                                             ", which reads otherwise");
}

// What ComposeNewCommand is documented to write for the input area's fields.
struct Expected {
  Modifiers modifiers;
  std::optional<std::string> target;
};

Expected ExpectedParts(const NewCommand& n, bool mid_list) {
  const std::string caption = kCommandKinds[static_cast<std::size_t>(n.kind)];
  const std::optional<std::string> target = n.win_message ? std::optional<std::string>(n.target) : std::nullopt;
  if (n.kind == kKindText) return {mid_list ? n.modifiers : Modifiers{}, target};
  if (n.kind == kKindFrontApp) {
    // Never a target suffix; a "|>" in the title is read as one all the same.
    const std::size_t mark = n.text.find(kTargetMark);
    return {mid_list ? n.modifiers : Modifiers{},
            mark == std::string::npos ? std::nullopt : std::optional<std::string>(n.text.substr(mark + 2))};
  }
  if (n.kind == 82 || n.kind == 83 || n.kind <= 6) return {};
  if (caption == kWindowsKind && !mid_list) return {};
  return {n.modifiers, target};
}

void CheckNewCommand(FuzzedDataProvider& in) {
  NewCommand n;
  n.kind = in.ConsumeIntegralInRange<int>(0, static_cast<int>(kCommandKindCount) - 1);
  const bool mid_list = in.ConsumeBool();
  n.win_message = in.ConsumeBool();
  n.modifiers = {in.ConsumeBool(), in.ConsumeBool(), in.ConsumeBool()};
  n.wait_ms = in.ConsumeIntegral<std::int32_t>();
  n.x = in.ConsumeIntegral<std::int32_t>();
  n.y = in.ConsumeIntegral<std::int32_t>();
  n.text = in.ConsumeRandomLengthString(300);
  n.target = in.ConsumeRandomLengthString(300);

  const std::vector<std::string> lines = ComposeNewCommand(n, mid_list);
  const Expected want = ExpectedParts(n, mid_list);
  const bool drag = n.kind == 5 || n.kind == 6;
  FUZZ_CHECK(lines.size() == (drag ? 2u : 1u), std::to_string(n.kind));
  for (const std::string& line : lines) {
    // The loader takes back every line but a wait line, which has a rule of
    // its own.
    if (n.kind != kKindWait) FUZZ_CHECK(IsCommandLine(line), Shown(line));

    // The reader finds a modifier by "+S", "+A", "+C" anywhere, and the text
    // of a text line up to the first "|>": a line whose text or target holds
    // those cannot be read back as composed, by design.
    const Modifiers seen{Contains(line, "+S"), Contains(line, "+A"), Contains(line, "+C")};
    if (!SameModifiers(seen, want.modifiers)) continue;
    if (n.kind == kKindText && Contains(n.text, kTargetMark)) continue;

    const CommandLine c = ReadCommandLine(line);
    FUZZ_CHECK(c.exact, Shown(line));
    FUZZ_CHECK(!c.bad_number, Shown(line));
    FUZZ_CHECK(SameModifiers(c.modifiers, want.modifiers), Shown(line));
    FUZZ_CHECK(c.target == want.target, Shown(line));
    if (n.kind == kKindWait) FUZZ_CHECK(c.dispatch == Dispatch::Wait && c.wait_ms == n.wait_ms, Shown(line));
    if (n.kind >= 1 && n.kind <= 4)
      FUZZ_CHECK(c.dispatch == Dispatch::Mouse && c.x == n.x && c.y == n.y && !c.no_set, Shown(line));
    if (drag) FUZZ_CHECK(c.dispatch == Dispatch::Mouse && c.no_set, Shown(line));
    if (n.kind == kKindText) FUZZ_CHECK(c.key_kind == KeyLineKind::Text && c.text == n.text, Shown(line));
    if (n.kind == kKindFrontApp)
      FUZZ_CHECK(c.key_kind == KeyLineKind::FrontApp && c.app_title == n.text, Shown(line));
    if (n.kind == 82) FUZZ_CHECK(c.dispatch == Dispatch::Event1, Shown(line));
    if (n.kind == 83) FUZZ_CHECK(c.dispatch == Dispatch::Event2, Shown(line));
    if (n.kind >= 8 && n.kind <= 81)
      FUZZ_CHECK(c.dispatch == Dispatch::Key && c.key_kind == KeyLineKind::Key, Shown(line));
  }
}

}  // namespace
}  // namespace zepx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zepx::CheckReading(std::string(reinterpret_cast<const char*>(data), size));
  FuzzedDataProvider in(data, size);
  zepx::CheckNewCommand(in);
  return 0;
}
