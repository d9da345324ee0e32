// The substitute's native form for host tests: a window of the recording
// desktop whose title follows the form's caption, so that forms have
// handles, and whose pop-up menus and modal shows are recorded in the
// desktop's calls ("TrackPopupMenu(x,y)", "ShowModal(<class>)") and played
// by the user the desktop scripts (popup_choices, on_modal).
#pragma once

#include <memory>
#include <string>

#include "platform/fake/fake_platform.h"
#include "ui/form.h"

namespace zepx {

// The window is hidden until the form is shown.
std::unique_ptr<INativeForm> MakeNativeForm(FakePlatform& desktop, const std::string& class_name);

}  // namespace zepx
