// The rows of a list view as plain data: for each row the texts of its cells, the row's data, its check state and
// the images of its cells. A row keeps its cells as one run of bytes, each cell ended by a NUL byte (a cell's text
// ends at its first NUL, as a list view reads it back). The runs of all rows lie in a few large blocks of the
// store's own, so that a big list costs little more than its texts and adding a row costs no allocation of its own;
// a row whose texts change is written anew where there is room, and the store packs its live rows again once more
// of it is left behind than is in use.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ListRows {
 public:
  using Data = std::intptr_t;

  ListRows() = default;
  ~ListRows();
  ListRows(const ListRows&) = delete;
  ListRows& operator=(const ListRows&) = delete;

  int size() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }

  // A new row at `row` (clamped to 0..size) whose first cell holds `text`; its index.
  int insert(int row, std::string_view text, Data data, int image);
  // A new row at the end from its cells (column 0 first); cells from `columns` on are not kept.
  void append(const std::vector<std::string>& cells, int columns);
  void append(const std::string_view* cells, std::size_t count, int columns);
  void remove(int row);
  void clear();

  std::string_view text(int row, int col) const;   // empty for a cell never set
  void setText(int row, int col, std::string_view text);

  // Every row's cells of the columns `cols` given anew at once: `rewrite(col, text, out)` puts into `out` (empty when
  // called) what the cell of `text` becomes, as setText of each cell would; a row is written once for all its cells.
  using Rewrite = std::function<void(int col, std::string_view text, std::string& out)>;
  void rewriteCells(const std::vector<int>& cols, const Rewrite& rewrite);

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

  // Bytes of the text store: held in blocks, and taken by the rows' cells as they are now.
  std::size_t storeBytes() const { return held_; }
  std::size_t liveBytes() const { return used_ - left_behind_; }

 private:
  static constexpr int kNoImage = INT32_MIN;
  struct Row {
    char* cells = nullptr;      // each cell's text followed by a NUL; trailing cells missing are empty
    std::uint32_t size = 0;     // bytes of `cells`
    bool checked = false;
    Data data = 0;
    std::unique_ptr<std::vector<int>> images;   // per column; kNoImage where a cell has none; none: column 0's is 0
  };
  struct Block {
    std::unique_ptr<char[]> bytes;
    std::size_t size = 0;
  };
  static std::size_t CellStart(const Row& r, int col);   // npos when the row has fewer cells

  // Room for `bytes` bytes in the store, at the end of what was handed out last.
  char* Take(std::size_t bytes);
  // The row's cells become the `bytes` given (written anew in the store unless they are what the row holds).
  void Put(Row& r, std::string_view bytes);
  // The row's run no longer used (`bytes` of it, all by default).
  void LeaveBehind(std::size_t bytes) { left_behind_ += bytes; }
  void PackIfWasteful();
  void DropStore();   // no row holds cells any more: the store starts again, its blocks given back

  std::deque<Row> rows_;   // grows without moving the rows it has
  std::vector<Block> blocks_;   // blocks of kBlock bytes; blocks_[current_] is where rows are written
  std::vector<Block> own_;      // blocks of one long row each
  std::size_t current_ = 0;
  std::size_t fill_ = 0;        // bytes handed out of the current block
  std::size_t held_ = 0;        // bytes of all blocks
  std::size_t used_ = 0;        // bytes handed out
  std::size_t left_behind_ = 0; // of them, no longer any row's
};
