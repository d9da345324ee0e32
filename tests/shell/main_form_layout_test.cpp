// The main window's layout: every control placed once, inside its parent,
// clear of its neighbours and wide enough for its caption in a Japanese UI
// font at 9 pt; and the initial states the rest of the program starts from.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "model/command_line.h"
#include "platform/fake/fake_platform.h"
#include "shell/main_form.h"

namespace zepx {
namespace {

class MainFormLayout : public ::testing::Test {
 protected:
  TApplication app;
  FakePlatform fake;
  TMainForm form{fake.platform(), app};
};

bool Overlap(const Bounds& a, const Bounds& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

std::string Describe(const TControl& c) {
  std::ostringstream s;
  s << c.Name << " (" << c.bounds.x << "," << c.bounds.y << " " << c.bounds.w << "x"
    << c.bounds.h << ")";
  return s.str();
}

// Width of a cp932 text in a 9 pt Japanese UI font at 96 DPI, on the wide
// side: 12 pixels for a double-byte character, 7 for any other. "&" marks
// a mnemonic and takes no room. Returns the widest line and the line count.
std::pair<int, int> TextSize(const std::string& text) {
  int widest = 0, width = 0, lines = 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '\r') continue;
    if (b == '\n') {
      widest = std::max(widest, width);
      width = 0;
      ++lines;
    } else if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
      width += 12;
      ++i;
    } else if (b != '&') {
      width += 7;
    }
  }
  return {std::max(widest, width), lines};
}

TEST_F(MainFormLayout, EveryControlSitsOnceInsideItsParentAndClearOfItsNeighbours) {
  const auto& children = form.Children();
  std::set<const TControl*> seen;
  std::map<const TControl*, const TControl*> parent;
  for (const auto& c : children) {
    EXPECT_TRUE(seen.insert(c.control).second) << c.control->Name << " registered twice";
    parent[c.control] = c.parent;
    if (c.parent) EXPECT_NE(dynamic_cast<TGroupBox*>(c.parent), nullptr) << c.control->Name;
  }

  for (const auto& c : children) {
    const Bounds& b = c.control->bounds;
    EXPECT_GT(b.w, 0) << Describe(*c.control);
    EXPECT_GT(b.h, 0) << Describe(*c.control);
    if (c.parent) {
      // Below the group's caption and inside its frame.
      const Bounds& g = c.parent->bounds;
      EXPECT_TRUE(b.x >= 4 && b.y >= 14 && b.x + b.w <= g.w - 4 && b.y + b.h <= g.h - 2)
          << Describe(*c.control) << " outside " << Describe(*c.parent);
    } else {
      EXPECT_TRUE(b.x >= 0 && b.y >= 0 && b.x + b.w <= form.ClientWidth &&
                  b.y + b.h <= form.ClientHeight)
          << Describe(*c.control) << " outside the client area";
    }
  }
  for (std::size_t i = 0; i < children.size(); ++i) {
    for (std::size_t j = i + 1; j < children.size(); ++j) {
      if (children[i].parent != children[j].parent) continue;
      EXPECT_FALSE(Overlap(children[i].control->bounds, children[j].control->bounds))
          << Describe(*children[i].control) << " overlaps " << Describe(*children[j].control);
    }
  }
}

TEST_F(MainFormLayout, CaptionsFitTheirControls) {
  // The captions the program sets later: the hot-key letters and the
  // running status.
  form.BitBtn1.SetCaption("実行\r\n(Ctrl+Alt+W)");
  form.BitBtn3.SetCaption("待機\r\n(Ctrl+Alt+W)");
  form.StatusLabel.SetCaption("実行中 (WinMessage) - Ctrl+Alt+Wで中断できます");

  for (const auto& c : form.Children()) {
    const auto* text = dynamic_cast<const TTextControl*>(c.control);
    if (!text || dynamic_cast<const TItemsControl*>(c.control) ||
        dynamic_cast<const TWinSpinEdit*>(c.control) || dynamic_cast<const TEdit*>(c.control))
      continue;
    auto [width, lines] = TextSize(text->Text());
    int pad_w = 0, pad_h = 2;
    if (dynamic_cast<const TCheckBox*>(c.control)) pad_w = 18;  // the box
    else if (dynamic_cast<const TButton*>(c.control)) pad_w = 12, pad_h = 8;
    else if (dynamic_cast<const TGroupBox*>(c.control)) pad_w = 16;
    const Bounds& b = c.control->bounds;
    if (&text->Text() == &form.StatusLabel.Text()) {
      // The status may wrap onto a second line.
      EXPECT_LE(width, 2 * b.w) << Describe(*c.control);
      EXPECT_GE(b.h, 2 * 14) << Describe(*c.control);
      continue;
    }
    EXPECT_LE(width + pad_w, b.w) << Describe(*c.control) << " for " << width << " px of text";
    if (!dynamic_cast<const TGroupBox*>(c.control))
      EXPECT_LE(lines * 14 + pad_h - 2, b.h) << Describe(*c.control);
  }
}

TEST_F(MainFormLayout, InitialStates) {
  ASSERT_EQ(form.CommandBox.Count(), static_cast<int>(kCommandKindCount));
  EXPECT_EQ(form.CommandBox.Item(0), "時間(ミリ秒)");
  EXPECT_EQ(form.CommandBox.Item(84), "[ｱﾌﾟﾘを前面に]");
  EXPECT_EQ(form.PostRadioGroup.Items(),
            (std::vector<std::string>{"_event", "SendInput(DirectX)", "WinMessage"}));
  EXPECT_EQ(form.PostRadioGroup.ItemIndex(), kSendInput);
  EXPECT_TRUE(form.AutoHandleCheckBox.Checked());
  EXPECT_EQ(form.StatusLabel.Caption(), "待機中");
  EXPECT_TRUE(form.AppComboBox.editable);
  EXPECT_EQ(form.AppComboBox.max_length, 99);
  EXPECT_FALSE(form.CommandBox.editable);

  for (const TControl* c :
       std::vector<const TControl*>{&form.DelButton, &form.UpButton, &form.DownButton,
                                    &form.ClearButton, &form.XYCopy, &form.XYPaste, &form.mXYCopy,
                                    &form.mXYPaste, &form.LoopSpinEditAll, &form.AppComboBox,
                                    &form.GetAppButton, &form.AutoHandleCheckBox,
                                    &form.GetAppButton2})
    EXPECT_FALSE(c->Enabled()) << c->Name;
  EXPECT_TRUE(form.AddButton.Enabled());

  EXPECT_EQ(form.Menu, (std::vector<TMenuItem*>{&form.mFile, &form.mEdit, &form.mSet, &form.mHelp}));
  const auto& file = form.mFile.children;
  EXPECT_EQ(file.front(), &form.mLoad);
  EXPECT_EQ(file.back(), &form.mExit);
  EXPECT_NE(std::find(file.begin(), file.end(), &form.mSave), file.end());
  EXPECT_NE(std::find(file.begin(), file.end(), &form.mNewZep), file.end());
  EXPECT_EQ(form.mXYCopy.ShortCut, 16451);
  EXPECT_EQ(form.mXYPaste.ShortCut, 16470);
  EXPECT_EQ(form.PopupMenu1,
            (std::vector<TMenuItem*>{&form.N7, &form.N3, &form.N5, &form.ZEPX1}));
}

}  // namespace
}  // namespace zepx
