#include "model/batch.h"

#include <stdexcept>

namespace zepx {

std::vector<std::string> Batch::Texts() const {
  std::vector<std::string> out;
  out.reserve(lines_.size());
  for (const Line& l : lines_) out.push_back(l.text);
  return out;
}

void Batch::SetTarget(int row, Hwnd w) {
  if (Has(row)) lines_[static_cast<std::size_t>(row)].target = w;
}

std::vector<Hwnd> Batch::Targets() const {
  std::vector<Hwnd> out;
  out.reserve(lines_.size());
  for (const Line& l : lines_) out.push_back(l.target);
  return out;
}

void Batch::ClearTargets() {
  for (Line& l : lines_) l.target = 0;
}

void Batch::Select(int row) {
  const int next = Has(row) ? row : -1;
  if (next == selected_) return;
  selected_ = next;
  Notify(Change::Selected, selected_);
}

void Batch::SetLines(const std::vector<std::string>& texts) {
  lines_.clear();
  lines_.reserve(texts.size());
  for (const std::string& t : texts) lines_.push_back({t, 0});
  selected_ = -1;
  Notify(Change::Reset, -1);
}

void Batch::Add(const std::string& text) { Insert(Count(), text); }

void Batch::Insert(int row, const std::string& text) {
  if (row < 0 || row > Count()) throw std::out_of_range("Batch::Insert");
  lines_.insert(lines_.begin() + row, Line{text, 0});
  if (selected_ >= row) ++selected_;
  Notify(Change::Inserted, row);
}

void Batch::Delete(int row) {
  if (!Has(row)) throw std::out_of_range("Batch::Delete");
  lines_.erase(lines_.begin() + row);
  if (selected_ == row) selected_ = -1;
  else if (selected_ > row) --selected_;
  Notify(Change::Deleted, row);
}

void Batch::Move(int from, int to) {
  if (!Has(from) || !Has(to)) throw std::out_of_range("Batch::Move");
  if (from == to) return;
  Line moved = std::move(lines_[static_cast<std::size_t>(from)]);
  lines_.erase(lines_.begin() + from);
  lines_.insert(lines_.begin() + to, std::move(moved));
  selected_ = to;
  Notify(Change::Moved, from);
}

void Batch::Replace(int row, const std::string& text) {
  if (!Has(row)) throw std::out_of_range("Batch::Replace");
  lines_[static_cast<std::size_t>(row)].text = text;
  Notify(Change::Replaced, row);
}

void Batch::Clear() {
  if (lines_.empty() && selected_ < 0) return;
  lines_.clear();
  selected_ = -1;
  Notify(Change::Reset, -1);
}

}  // namespace zepx
