#include "framework/list_rows.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {
// Rows are written into blocks of this size; a row longer than a quarter of it gets a block of its own.
constexpr std::size_t kBlock = 64 * 1024;
constexpr std::size_t kOwnBlock = kBlock / 4;
// Blocks given back by cleared or closed lists are kept for the lists filled next, up to this many (8 MB): a big list
// filled again, or another one filled after it, then writes into memory the process already has.
constexpr std::size_t kBlocksKept = 128;

struct BlockPool {
  std::mutex lock;
  std::vector<std::unique_ptr<char[]>> blocks;
};
BlockPool& Pool() {
  static BlockPool* pool = new BlockPool;   // outlives every list, whenever it is destroyed
  return *pool;
}
std::unique_ptr<char[]> NewBlock() {
  BlockPool& p = Pool();
  {
    std::lock_guard<std::mutex> g(p.lock);
    if (!p.blocks.empty()) {
      std::unique_ptr<char[]> b = std::move(p.blocks.back());
      p.blocks.pop_back();
      return b;
    }
  }
  return std::unique_ptr<char[]>(new char[kBlock]);
}
void GiveBack(std::unique_ptr<char[]> block) {
  BlockPool& p = Pool();
  std::lock_guard<std::mutex> g(p.lock);
  if (p.blocks.size() < kBlocksKept) p.blocks.push_back(std::move(block));
}

// A cell's text as it is kept: up to its first NUL.
std::string_view UpToNul(std::string_view s) {
  const std::size_t nul = s.find('\0');
  return nul == std::string_view::npos ? s : s.substr(0, nul);
}

// Where a row is put together before it goes into the store.
std::string& Scratch() {
  thread_local std::string s;
  s.clear();
  return s;
}
}  // namespace

std::size_t ListRows::CellStart(const Row& r, int col) {
  std::size_t pos = 0;
  for (int c = 0; c < col; ++c) {
    if (pos >= r.size) return std::string::npos;
    const void* nul = std::memchr(r.cells + pos, '\0', r.size - pos);
    if (!nul) return std::string::npos;
    pos = static_cast<std::size_t>(static_cast<const char*>(nul) - r.cells) + 1;
  }
  return pos < r.size ? pos : std::string::npos;
}

char* ListRows::Take(std::size_t bytes) {
  if (bytes == 0) return nullptr;
  used_ += bytes;
  if (bytes > kOwnBlock) {   // a long row: a block of its own
    own_.push_back(Block{std::unique_ptr<char[]>(new char[bytes]), bytes});
    held_ += bytes;
    return own_.back().bytes.get();
  }
  while (current_ < blocks_.size() && fill_ + bytes > blocks_[current_].size) {
    ++current_;   // the rest of a full block stays unused; a block kept from before is used again
    fill_ = 0;
  }
  if (current_ >= blocks_.size()) {
    blocks_.push_back(Block{NewBlock(), kBlock});
    held_ += kBlock;
    current_ = blocks_.size() - 1;
    fill_ = 0;
  }
  char* p = blocks_[current_].bytes.get() + fill_;
  fill_ += bytes;
  return p;
}

void ListRows::Put(Row& r, std::string_view bytes) {
  const std::size_t n = bytes.size();
  if (n == r.size) {
    if (n) std::memmove(r.cells, bytes.data(), n);
    return;
  }
  if (n < r.size) {   // shorter: in place, the rest left behind
    if (n) std::memmove(r.cells, bytes.data(), n);
    LeaveBehind(r.size - n);
    r.size = static_cast<std::uint32_t>(n);
    if (n == 0) r.cells = nullptr;
    return;
  }
  // Longer: the row written last in the current block grows where it is when there is room after it.
  if (r.cells && current_ < blocks_.size() && r.cells + r.size == blocks_[current_].bytes.get() + fill_ &&
      fill_ + (n - r.size) <= blocks_[current_].size) {
    std::memmove(r.cells, bytes.data(), n);
    fill_ += n - r.size;
    used_ += n - r.size;
    r.size = static_cast<std::uint32_t>(n);
    return;
  }
  char* p = Take(n);
  std::memcpy(p, bytes.data(), n);
  LeaveBehind(r.size);
  r.cells = p;
  r.size = static_cast<std::uint32_t>(n);
}

void ListRows::PackIfWasteful() {
  if (left_behind_ < kBlock || left_behind_ < used_ - left_behind_) return;
  std::vector<Block> old, oldOwn;
  old.swap(blocks_);
  oldOwn.swap(own_);
  current_ = 0;
  fill_ = 0;
  held_ = 0;
  used_ = 0;
  left_behind_ = 0;
  for (Row& r : rows_) {
    if (r.size == 0) continue;
    char* p = Take(r.size);
    std::memcpy(p, r.cells, r.size);
    r.cells = p;
  }
  for (Block& b : old) GiveBack(std::move(b.bytes));
}

ListRows::~ListRows() { DropStore(); }

void ListRows::DropStore() {
  own_.clear();
  for (Block& b : blocks_) GiveBack(std::move(b.bytes));
  blocks_.clear();
  held_ = 0;
  current_ = 0;
  fill_ = 0;
  used_ = 0;
  left_behind_ = 0;
}

int ListRows::insert(int row, std::string_view text, Data data, int image) {
  row = std::clamp(row, 0, size());
  Row r;
  text = UpToNul(text);
  if (!text.empty()) {
    r.size = static_cast<std::uint32_t>(text.size() + 1);
    r.cells = Take(r.size);
    std::memcpy(r.cells, text.data(), text.size());
    r.cells[text.size()] = '\0';
  }
  r.data = data;
  if (image != 0) r.images = std::make_unique<std::vector<int>>(1, image);
  rows_.insert(rows_.begin() + row, std::move(r));
  return row;
}

void ListRows::append(const std::vector<std::string>& cells, int columns) {
  std::vector<std::string_view> views(cells.begin(), cells.end());
  append(views.data(), views.size(), columns);
}

void ListRows::append(const std::string_view* cells, std::size_t count, int columns) {
  Row& r = rows_.emplace_back();
  const std::size_t n = std::min(count, static_cast<std::size_t>(std::max(columns, 0)));
  std::size_t last = n;   // trailing empty cells are not stored
  while (last > 0 && UpToNul(cells[last - 1]).empty()) --last;
  std::size_t bytes = 0;
  for (std::size_t c = 0; c < last; ++c) bytes += UpToNul(cells[c]).size() + 1;
  if (bytes) {
    char* p = Take(bytes);
    r.cells = p;
    r.size = static_cast<std::uint32_t>(bytes);
    for (std::size_t c = 0; c < last; ++c) {
      const std::string_view t = UpToNul(cells[c]);
      if (!t.empty()) std::memcpy(p, t.data(), t.size());
      p += t.size();
      *p++ = '\0';
    }
  }
}

void ListRows::remove(int row) {
  LeaveBehind(rows_[static_cast<std::size_t>(row)].size);
  rows_.erase(rows_.begin() + row);
  PackIfWasteful();
}

void ListRows::clear() {
  std::deque<Row>().swap(rows_);
  DropStore();
}

std::string_view ListRows::text(int row, int col) const {
  const Row& r = rows_[static_cast<std::size_t>(row)];
  const std::size_t start = CellStart(r, col);
  if (start == std::string::npos) return {};
  const void* nul = std::memchr(r.cells + start, '\0', r.size - start);
  const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - r.cells) : r.size;
  return std::string_view(r.cells + start, end - start);
}

void ListRows::setText(int row, int col, std::string_view text) {
  Row& r = rows_[static_cast<std::size_t>(row)];
  text = UpToNul(text);
  // One pass to the cell: where it starts, or how many cells the row has when it has fewer.
  std::size_t pos = 0;
  int have = 0;
  for (; have < col; ++have) {
    const void* nul = pos < r.size ? std::memchr(r.cells + pos, '\0', r.size - pos) : nullptr;
    if (!nul) break;
    pos = static_cast<std::size_t>(static_cast<const char*>(nul) - r.cells) + 1;
  }
  std::string& s = Scratch();
  if (have < col || pos >= r.size) {
    if (text.empty()) return;   // a missing cell already reads empty
    s.append(r.cells ? r.cells : "", r.size);
    s.append(static_cast<std::size_t>(col - have), '\0');   // empty cells up to this one, then the text
    s.append(text);
    s.push_back('\0');
  } else {
    const void* nul = std::memchr(r.cells + pos, '\0', r.size - pos);
    const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(nul) - r.cells);
    if (end - pos == text.size()) {   // the same length: in place
      std::memcpy(r.cells + pos, text.data(), text.size());
      return;
    }
    s.append(r.cells, pos);
    s.append(text);
    s.append(r.cells + end, r.size - end);
  }
  Put(r, s);
  PackIfWasteful();
}

void ListRows::rewriteCells(const std::vector<int>& cols, const Rewrite& rewrite) {
  if (cols.empty() || rows_.empty()) return;
  const int maxCol = *std::max_element(cols.begin(), cols.end());
  if (maxCol < 0) return;
  std::vector<char> wanted(static_cast<std::size_t>(maxCol) + 1, 0);
  for (int c : cols)
    if (c >= 0) wanted[static_cast<std::size_t>(c)] = 1;
  std::string out;
  for (Row& r : rows_) {
    std::string& s = Scratch();
    const char* p = r.cells;
    std::size_t left = r.size;
    for (int c = 0; c <= maxCol || left > 0; ++c) {
      std::string_view cell;
      if (left > 0) {
        const void* nul = std::memchr(p, '\0', left);
        const std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - p) : left;
        cell = std::string_view(p, n);
        p += std::min(n + 1, left);
        left -= std::min(n + 1, left);
      }
      if (c <= maxCol && wanted[static_cast<std::size_t>(c)]) {
        out.clear();
        rewrite(c, cell, out);
        s.append(UpToNul(out));
      } else {
        s.append(cell);
      }
      s.push_back('\0');
    }
    // Trailing empty cells are not kept.
    while (!s.empty() && (s.size() == 1 || s[s.size() - 2] == '\0')) s.pop_back();
    if (s.size() != r.size || (r.size && std::memcmp(s.data(), r.cells, r.size) != 0)) Put(r, s);
  }
  PackIfWasteful();
}

int ListRows::image(int row, int col) const {
  const auto& images = rows_[static_cast<std::size_t>(row)].images;
  if (!images || col < 0 || col >= static_cast<int>(images->size()) || (*images)[static_cast<std::size_t>(col)] == kNoImage)
    return 0;
  return (*images)[static_cast<std::size_t>(col)];
}

bool ListRows::hasImage(int row, int col) const {
  if (col == 0) return true;
  const auto& images = rows_[static_cast<std::size_t>(row)].images;
  return images && col > 0 && col < static_cast<int>(images->size()) &&
         (*images)[static_cast<std::size_t>(col)] != kNoImage;
}

void ListRows::setImage(int row, int col, int image) {
  if (col < 0) return;
  auto& images = rows_[static_cast<std::size_t>(row)].images;
  if (!images || static_cast<int>(images->size()) <= col) {
    if (image == 0) return;   // a cell without an image reads 0 already
    if (!images) images = std::make_unique<std::vector<int>>(1, 0);
    images->resize(static_cast<std::size_t>(col) + 1, kNoImage);
  }
  (*images)[static_cast<std::size_t>(col)] = image;
}

void ListRows::uncheckAll() {
  for (Row& r : rows_) r.checked = false;
}

void ListRows::insertColumn(int col) {
  for (Row& r : rows_) {
    const std::size_t start = CellStart(r, col);
    if (start != std::string::npos) {
      std::string& s = Scratch();
      s.append(r.cells, start);
      s.push_back('\0');
      s.append(r.cells + start, r.size - start);
      Put(r, s);
    }
    if (r.images && col < static_cast<int>(r.images->size()))
      r.images->insert(r.images->begin() + col, col == 0 ? 0 : kNoImage);
  }
  PackIfWasteful();
}

void ListRows::removeColumn(int col) {
  for (Row& r : rows_) {
    const std::size_t start = CellStart(r, col);
    if (start != std::string::npos) {
      const void* nul = std::memchr(r.cells + start, '\0', r.size - start);
      const std::size_t end = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - r.cells) + 1 : r.size;
      std::memmove(r.cells + start, r.cells + end, r.size - end);   // shorter: in place
      LeaveBehind(end - start);
      r.size = static_cast<std::uint32_t>(r.size - (end - start));
      if (r.size == 0) r.cells = nullptr;
    }
    if (r.images && col < static_cast<int>(r.images->size())) {
      r.images->erase(r.images->begin() + col);
      if (col == 0 && !r.images->empty() && (*r.images)[0] == kNoImage) (*r.images)[0] = 0;
    }
  }
  PackIfWasteful();
}

void ListRows::clearCells() {
  for (Row& r : rows_) {
    r.cells = nullptr;
    r.size = 0;
    r.images.reset();
    r.data = 0;
    r.checked = false;
  }
  DropStore();
}
