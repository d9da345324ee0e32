// The batch list: the command lines in order, the selected row and, for
// each line, the window a run resolved its target to. One object holds all
// three so that an edit moves a line's target with it; the list box on the
// screen is only a mirror of this.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace zepx {

class Batch {
 public:
  struct Line {
    std::string text;
    Hwnd target = 0;  // 0: none, or not resolved
  };

  // What changed, for a mirror to follow cheaply.
  enum class Change { Reset, Inserted, Deleted, Replaced, Moved, Selected };
  // (change, row): the row inserted, deleted or replaced; for Moved the row
  // the line left (it now stands at `Selected()`); -1 for Reset.
  std::function<void(Change, int)> OnChange;

  int Count() const { return static_cast<int>(lines_.size()); }
  bool Empty() const { return lines_.empty(); }
  const std::string& Text(int row) const { return lines_.at(static_cast<std::size_t>(row)).text; }
  std::vector<std::string> Texts() const;

  // The resolved target of a row; 0 for a row the list does not have.
  Hwnd Target(int row) const { return Has(row) ? lines_[static_cast<std::size_t>(row)].target : 0; }
  // Ignored for a row the list does not have.
  void SetTarget(int row, Hwnd w);
  void ClearTargets();
  std::vector<Hwnd> Targets() const;

  // -1 when no row is selected. Selecting a row the list does not have
  // clears the selection, as a list box does.
  int Selected() const { return selected_; }
  void Select(int row);
  bool Has(int row) const { return row >= 0 && row < Count(); }

  // Replaces every line; no selection, no targets.
  void SetLines(const std::vector<std::string>& texts);
  void Add(const std::string& text);
  // Inserts before `row` (Count() appends). The selection stays on its line.
  void Insert(int row, const std::string& text);
  void Delete(int row);
  // Moves a line to another row, with its target; the moved line becomes
  // the selection.
  void Move(int from, int to);
  // New text for a row; its target stays until the next resolution.
  void Replace(int row, const std::string& text);
  void Clear();

 private:
  void Notify(Change c, int row) {
    if (OnChange) OnChange(c, row);
  }
  std::vector<Line> lines_;
  int selected_ = -1;
};

}  // namespace zepx
