// The rows of a list view as plain data: for each row the texts of its cells, the row's data, its check state and
// the images of its cells. A row keeps its cells in one text, each cell ended by a NUL byte (a cell's text ends at
// its first NUL, as a list view reads it back), so that a big list costs little more than its texts.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class ListRows {
 public:
  using Data = std::intptr_t;

  int size() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  void reserve(std::size_t n) { rows_.reserve(n); }

  // A new row at `row` (clamped to 0..size) whose first cell holds `text`; its index.
  int insert(int row, std::string_view text, Data data, int image);
  // A new row at the end from its cells (column 0 first); cells from `columns` on are not kept.
  void append(const std::vector<std::string>& cells, int columns);
  void append(const std::string_view* cells, std::size_t count, int columns);
  void remove(int row);
  void clear();

  std::string_view text(int row, int col) const;   // empty for a cell never set
  void setText(int row, int col, std::string_view text);

  // Images: column 0 always has one (0 unless set); another cell only once it was given one other than 0 (a cell
  // that never had one keeps none when given 0, so that filling a list's texts costs no image store).
  int image(int row, int col) const;
  bool hasImage(int row, int col) const;
  void setImage(int row, int col, int image);

  Data data(int row) const { return rows_[static_cast<std::size_t>(row)].data; }
  void setData(int row, Data data) { rows_[static_cast<std::size_t>(row)].data = data; }

  bool checked(int row) const { return rows_[static_cast<std::size_t>(row)].checked; }
  void setChecked(int row, bool on) { rows_[static_cast<std::size_t>(row)].checked = on; }
  void uncheckAll();

  // Columns: a column inserted at `col` gives every row an empty cell there (later cells move right); a column
  // removed takes its cells with it; without columns the rows keep no cells, images or data.
  void insertColumn(int col);
  void removeColumn(int col);
  void clearCells();

 private:
  static constexpr int kNoImage = INT32_MIN;
  struct Row {
    std::string cells;        // each cell's text followed by a NUL; trailing cells missing are empty
    std::vector<int> images;  // per column; kNoImage where a cell has none; empty: column 0's image is 0
    Data data = 0;
    bool checked = false;
  };
  static std::size_t CellStart(const std::string& cells, int col);   // npos when the row has fewer cells
  std::vector<Row> rows_;
};
