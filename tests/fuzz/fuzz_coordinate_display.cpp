// The selection-to-coordinates display of the main window, on any lines.
//
// The input, split at LF, is the batch list (as a file or the list editing
// could leave it). Each row is selected in turn and the display refreshed:
// the X and Y fields show what the coordinate reader reads from that row,
// the copy and paste controls are enabled exactly when the row has
// coordinates, and the list box mirrors the batch.
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "model/command_line.h"
#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

using fuzz::Shown;

struct Window {
  FakePlatform fake;
  TApplication app;
  TMainForm form{fake.platform(), app};
};

void CheckDisplay(TMainForm& f, const std::optional<Coordinates>& want, const std::string& line) {
  const bool enabled = want.has_value();
  FUZZ_CHECK(f.XYCopy.Enabled() == enabled && f.mXYCopy.Enabled() == enabled && f.XYPaste.Enabled() == enabled &&
                 f.mXYPaste.Enabled() == enabled,
             Shown(line));
  if (want) FUZZ_CHECK(f.XLabel.Value() == want->x && f.YLabel.Value() == want->y, Shown(line));
}

}  // namespace
}  // namespace zepx

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zepx;
  // One window for the whole run, as the program has; each input replaces
  // its list.
  static Window* w = new Window;
  TMainForm& f = w->form;
  w->fake.ClearCalls();

  std::vector<std::string> lines = fuzz::SplitAtLf(std::string(reinterpret_cast<const char*>(data), size));
  if (lines.size() > 2000) lines.resize(2000);
  f.batch.SetLines(lines);
  FUZZ_CHECK(f.SendList.Count() == f.batch.Count(), std::to_string(lines.size()));

  for (int row = 0; row < f.batch.Count(); ++row) {
    f.batch.Select(row);
    f.RefreshCoordinateDisplay();
    FUZZ_CHECK(f.SendList.ItemIndex() == row && f.SendList.Item(row) == lines[static_cast<std::size_t>(row)],
               Shown(lines[static_cast<std::size_t>(row)]));
    CheckDisplay(f, MouseLinePoint(lines[static_cast<std::size_t>(row)]), lines[static_cast<std::size_t>(row)]);
  }
  // No row selected: nothing to copy or paste.
  f.batch.Select(-1);
  f.RefreshCoordinateDisplay();
  CheckDisplay(f, std::nullopt, "");
  return 0;
}
