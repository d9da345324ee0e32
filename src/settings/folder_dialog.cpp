#include "settings/folder_dialog.h"

namespace zepx {

bool TFolderDialog::Execute(Hwnd owner) {
  // A folder removed since it was chosen would leave the browser on
  // nothing; it opens at the top instead.
  const std::string preselect = files_.DirectoryExists(Folder) ? Folder : std::string();
  auto chosen = dialogs_.BrowseForFolder(owner, Title, preselect);
  if (!chosen) return false;
  Folder = *chosen;
  return true;
}

}  // namespace zepx
