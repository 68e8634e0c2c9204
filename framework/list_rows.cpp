#include "framework/list_rows.h"

#include <algorithm>

namespace {
// A cell's text as it is kept: up to its first NUL.
std::string_view UpToNul(std::string_view s) {
  const std::size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}
}  // namespace

std::size_t ListRows::CellStart(const std::string& cells, int col) {
  std::size_t pos = 0;
  for (int c = 0; c < col; ++c) {
    const std::size_t nul = cells.find('\0', pos);
    if (nul == std::string::npos) return std::string::npos;
    pos = nul + 1;
  }
  return pos < cells.size() ? pos : std::string::npos;
}

int ListRows::insert(int row, std::string_view text, Data data, int image) {
  row = std::clamp(row, 0, size());
  Row r;
  text = UpToNul(text);
  if (!text.empty()) {
    r.cells.reserve(text.size() + 1);
    r.cells.append(text);
    r.cells.push_back('\0');
  }
  r.data = data;
  if (image != 0) r.images.assign(1, image);
  rows_.insert(rows_.begin() + row, std::move(r));
  return row;
}

void ListRows::append(const std::vector<std::string>& cells, int columns) {
  std::vector<std::string_view> views(cells.begin(), cells.end());
  append(views.data(), views.size(), columns);
}

void ListRows::append(const std::string_view* cells, std::size_t count, int columns) {
  Row r;
  const std::size_t n = std::min(count, static_cast<std::size_t>(std::max(columns, 0)));
  std::size_t last = n;   // trailing empty cells are not stored
  while (last > 0 && UpToNul(cells[last - 1]).empty()) --last;
  std::size_t bytes = 0;
  for (std::size_t c = 0; c < last; ++c) bytes += cells[c].size() + 1;
  r.cells.reserve(bytes);
  for (std::size_t c = 0; c < last; ++c) {
    r.cells.append(UpToNul(cells[c]));
    r.cells.push_back('\0');
  }
  rows_.push_back(std::move(r));
}

void ListRows::remove(int row) { rows_.erase(rows_.begin() + row); }

void ListRows::clear() { std::vector<Row>().swap(rows_); }

std::string_view ListRows::text(int row, int col) const {
  const std::string& cells = rows_[static_cast<std::size_t>(row)].cells;
  const std::size_t start = CellStart(cells, col);
  if (start == std::string::npos) return {};
  const std::size_t end = cells.find('\0', start);
  return std::string_view(cells).substr(start, end - start);
}

void ListRows::setText(int row, int col, std::string_view text) {
  std::string& cells = rows_[static_cast<std::size_t>(row)].cells;
  text = UpToNul(text);
  // One pass to the cell: where it starts, or how many cells the row has when it has fewer.
  std::size_t pos = 0;
  int have = 0;
  for (; have < col; ++have) {
    const std::size_t nul = cells.find('\0', pos);
    if (nul == std::string::npos) break;
    pos = nul + 1;
  }
  if (have < col || pos >= cells.size()) {
    if (text.empty()) return;   // a missing cell already reads empty
    cells.append(static_cast<std::size_t>(col - have), '\0');   // empty cells up to this one, then the text
    cells.append(text);
    cells.push_back('\0');
    return;
  }
  const std::size_t end = cells.find('\0', pos);
  cells.replace(pos, end - pos, text);
}

int ListRows::image(int row, int col) const {
  const std::vector<int>& images = rows_[static_cast<std::size_t>(row)].images;
  if (col < 0 || col >= static_cast<int>(images.size()) || images[static_cast<std::size_t>(col)] == kNoImage) return 0;
  return images[static_cast<std::size_t>(col)];
}

bool ListRows::hasImage(int row, int col) const {
  if (col == 0) return true;
  const std::vector<int>& images = rows_[static_cast<std::size_t>(row)].images;
  return col > 0 && col < static_cast<int>(images.size()) && images[static_cast<std::size_t>(col)] != kNoImage;
}

void ListRows::setImage(int row, int col, int image) {
  if (col < 0) return;
  std::vector<int>& images = rows_[static_cast<std::size_t>(row)].images;
  if (static_cast<int>(images.size()) <= col) {
    if (image == 0) return;   // a cell without an image reads 0 already
    const std::size_t old = images.size();
    images.resize(static_cast<std::size_t>(col) + 1, kNoImage);
    if (old == 0) images[0] = 0;
  }
  images[static_cast<std::size_t>(col)] = image;
}

void ListRows::uncheckAll() {
  for (Row& r : rows_) r.checked = false;
}

void ListRows::insertColumn(int col) {
  for (Row& r : rows_) {
    const std::size_t start = CellStart(r.cells, col);
    if (start != std::string::npos) r.cells.insert(start, 1, '\0');
    if (col < static_cast<int>(r.images.size())) r.images.insert(r.images.begin() + col, col == 0 ? 0 : kNoImage);
  }
}

void ListRows::removeColumn(int col) {
  for (Row& r : rows_) {
    const std::size_t start = CellStart(r.cells, col);
    if (start != std::string::npos) r.cells.erase(start, r.cells.find('\0', start) - start + 1);
    if (col < static_cast<int>(r.images.size())) {
      r.images.erase(r.images.begin() + col);
      if (col == 0 && !r.images.empty() && r.images[0] == kNoImage) r.images[0] = 0;
    }
  }
}

void ListRows::clearCells() {
  for (Row& r : rows_) {
    std::string().swap(r.cells);
    std::vector<int>().swap(r.images);
    r.data = 0;
    r.checked = false;
  }
}
