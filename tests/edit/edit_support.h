// A main window with its detached list window, joined as the program joins
// them, on the substitute desktop; and the user's ways of choosing.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "model/command_line.h"
#include "run/run_support.h"
#include "shell/life_support.h"
#include "shell/send_list_form.h"

namespace zepx {

class EditTest : public LifeFixture, public ::testing::Test {
 protected:
  EditTest() {
    list_form.Bind(list_native.get());
    form.SendListForm = &list_form;
    list_form.Connect(form.editor, fake.platform().translucency);
    fake.boxes.clear();
  }

  // The radio button clicked: the send-method switch runs.
  void Method(int m) { form.PostRadioGroup.SetItemIndex(m); }
  // An entry of the target field picked from its list.
  void PickTarget(const std::string& entry) {
    form.AppComboBox.SetItems({"Other <1>", entry});
    form.AppComboBox.FromNativeText(entry);
    form.AppComboBox.FromNativeSelect(1);
  }
  int KindOf(const std::string& caption) const {
    const auto at = std::find(kCommandKinds.begin(), kCommandKinds.end(), caption);
    EXPECT_NE(at, kCommandKinds.end()) << "no kind " << caption;
    return static_cast<int>(at - kCommandKinds.begin());
  }
  // A kind chosen by the program (as the palette and the list keys do),
  // without the reactions of a user's pick, and added.
  void Add(const std::string& caption) {
    form.CommandBox.SetItemIndex(KindOf(caption));
    form.AddButton.Click();
  }
  // A list as the loader leaves it: row 0 selected, buttons on.
  void Load(const Texts& lines) {
    fake.files["C:\\m\\list.mcr"] = Mcr(lines);
    form.LoadMacro("C:\\m\\list.mcr");
    fake.boxes.clear();
  }
  void Key(int vk) { form.SendList.OnKeyDown(vk); }

  Texts BatchLines() const { return form.batch.Texts(); }
  bool EditButtons(bool on) const {
    const TButton* all[] = {&form.DelButton, &form.UpButton, &form.DownButton, &form.ClearButton,
                            &list_form.UpButton, &list_form.DownButton, &list_form.ClearButton};
    return std::all_of(std::begin(all), std::end(all), [on](const TButton* b) { return b->Enabled() == on; });
  }
  bool CopyPaste(bool on) const {
    return form.XYCopy.Enabled() == on && form.XYPaste.Enabled() == on &&
           form.mXYCopy.Enabled() == on && form.mXYPaste.Enabled() == on;
  }

  std::unique_ptr<INativeForm> list_native = MakeNativeForm(fake, "TSendListForm");
  TSendListForm list_form;
};

}  // namespace zepx
