// The folder picker of the settings dialog: the shell's folder browser over
// the computer's drives. It remembers the folder last chosen and opens on it
// again while that folder still exists.
#pragma once

#include <string>

#include "platform/platform.h"

namespace zepx {

class TFolderDialog {
 public:
  TFolderDialog(IDialogs& dialogs, IFileSystem& files) : dialogs_(dialogs), files_(files) {}

  std::string Title = "フォルダーの選択";
  std::string Folder;  // the folder last chosen

  // Runs the browser owned by `owner`. True when the user chose a folder,
  // which is then in Folder; a cancel leaves Folder as it was.
  bool Execute(Hwnd owner);

 private:
  IDialogs& dialogs_;
  IFileSystem& files_;
};

}  // namespace zepx
