// The plain row store behind every list view.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "framework/list_rows.h"

namespace {

std::vector<std::string> Texts(const ListRows& rows, int row, int columns) {
  std::vector<std::string> out;
  for (int c = 0; c < columns; ++c) out.emplace_back(rows.text(row, c));
  return out;
}

TEST(ListRows, CellsReadBackAsTheyWereSet) {
  ListRows rows;
  EXPECT_EQ(rows.insert(5, "S001", 42, 0), 0);   // past the end: appended
  rows.setText(0, 3, "Jl. Mawar 3");             // cells before it read empty
  rows.setText(0, 1, "Ani");
  EXPECT_EQ(Texts(rows, 0, 5), (std::vector<std::string>{"S001", "Ani", "", "Jl. Mawar 3", ""}));
  rows.setText(0, 1, "");                         // emptied, the later cells stay
  rows.setText(0, 3, "Jl. Melati 10, RT 02");
  EXPECT_EQ(Texts(rows, 0, 5), (std::vector<std::string>{"S001", "", "", "Jl. Melati 10, RT 02", ""}));
  EXPECT_EQ(rows.data(0), 42);
  rows.setText(0, 2, std::string("a\0b", 3));     // a text ends at its first NUL, as the control reads it
  EXPECT_EQ(rows.text(0, 2), "a");
  EXPECT_EQ(rows.text(0, 3), "Jl. Melati 10, RT 02");
}

TEST(ListRows, RowsInsertedRemovedAndAppended) {
  ListRows rows;
  rows.insert(0, "b", 2, 0);
  rows.insert(0, "a", 1, 0);
  rows.insert(2, "d", 4, 0);
  EXPECT_EQ(rows.insert(2, "c", 3, 0), 2);
  rows.append({"e", "", "x", "", ""}, 3);
  rows.append({"f", "y", "z", "beyond"}, 3);   // cells from the last column on are not kept
  ASSERT_EQ(rows.size(), 6);
  std::string firsts;
  for (int r = 0; r < rows.size(); ++r) firsts += std::string(rows.text(r, 0));
  EXPECT_EQ(firsts, "abcdef");
  EXPECT_EQ(rows.data(2), 3);
  EXPECT_EQ(rows.data(4), 0);
  EXPECT_EQ(Texts(rows, 4, 4), (std::vector<std::string>{"e", "", "x", ""}));
  EXPECT_EQ(Texts(rows, 5, 4), (std::vector<std::string>{"f", "y", "z", ""}));
  rows.remove(0);
  EXPECT_EQ(rows.text(0, 0), "b");
  rows.clear();
  EXPECT_TRUE(rows.empty());
}

TEST(ListRows, ImagesAndCheckStates) {
  ListRows rows;
  rows.insert(0, "a", 0, 7);
  rows.insert(1, "b", 0, 0);
  EXPECT_EQ(rows.image(0, 0), 7);
  EXPECT_EQ(rows.image(1, 0), 0);
  EXPECT_TRUE(rows.hasImage(1, 0));    // column 0 always has one
  EXPECT_FALSE(rows.hasImage(1, 2));   // another cell only once given one
  rows.setImage(1, 2, 0);   // 0 on a cell that has none: nothing to keep
  EXPECT_FALSE(rows.hasImage(1, 2));
  EXPECT_EQ(rows.image(1, 2), 0);
  rows.setImage(1, 2, 4);
  EXPECT_TRUE(rows.hasImage(1, 2));
  EXPECT_EQ(rows.image(1, 2), 4);
  EXPECT_EQ(rows.image(1, 0), 0);
  EXPECT_FALSE(rows.hasImage(1, 1));
  rows.setImage(1, 2, 0);   // an image taken back to 0
  EXPECT_TRUE(rows.hasImage(1, 2));
  EXPECT_EQ(rows.image(1, 2), 0);

  EXPECT_FALSE(rows.checked(0));
  rows.setChecked(0, true);
  rows.setChecked(1, true);
  rows.setChecked(1, false);
  EXPECT_TRUE(rows.checked(0));
  EXPECT_FALSE(rows.checked(1));
  rows.uncheckAll();
  EXPECT_FALSE(rows.checked(0));
}

// A column inserted between others moves the later cells (and their images) right; a column removed takes its cells.
TEST(ListRows, ColumnsInsertedAndRemovedBetweenOthers) {
  ListRows rows;
  rows.append({"S1", "Ani", "TK A"}, 3);
  rows.insert(1, "S2", 0, 0);   // a row with one cell
  rows.setImage(0, 2, 5);
  rows.insertColumn(1);
  EXPECT_EQ(Texts(rows, 0, 4), (std::vector<std::string>{"S1", "", "Ani", "TK A"}));
  EXPECT_EQ(Texts(rows, 1, 4), (std::vector<std::string>{"S2", "", "", ""}));
  EXPECT_EQ(rows.image(0, 3), 5);
  EXPECT_FALSE(rows.hasImage(0, 2));
  rows.setText(1, 1, "2024");
  rows.removeColumn(2);
  EXPECT_EQ(Texts(rows, 0, 3), (std::vector<std::string>{"S1", "", "TK A"}));
  EXPECT_EQ(Texts(rows, 1, 3), (std::vector<std::string>{"S2", "2024", ""}));
  EXPECT_EQ(rows.image(0, 2), 5);
  rows.insertColumn(0);
  EXPECT_EQ(Texts(rows, 0, 4), (std::vector<std::string>{"", "S1", "", "TK A"}));
  rows.removeColumn(0);
  EXPECT_EQ(Texts(rows, 0, 3), (std::vector<std::string>{"S1", "", "TK A"}));

  rows.setData(0, 9);
  rows.setChecked(0, true);
  rows.clearCells();   // the rows stay, without cells
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(Texts(rows, 0, 3), (std::vector<std::string>{"", "", ""}));
  EXPECT_EQ(rows.data(0), 0);
  EXPECT_FALSE(rows.checked(0));
  EXPECT_EQ(rows.image(0, 2), 0);
}

// The chosen columns of every row are given anew at once; the other cells, the row's data, check and images stay.
TEST(ListRows, RewrittenColumnsOthersKept) {
  ListRows rows;
  rows.append({"S1", "Ani", "1500000", "x"}, 4);
  rows.insert(1, "S2", 7, 3);   // one cell
  rows.append({"S3", "", "", ""}, 4);
  rows.setChecked(1, true);
  rows.setImage(0, 3, 9);
  rows.rewriteCells({2, 5}, [](int col, std::string_view text, std::string& out) {
    if (text == "1500000") out = "1.500.000";
    else if (col == 5) out = std::string("akhir\0lagi", 10);
  });
  EXPECT_EQ(Texts(rows, 0, 6), (std::vector<std::string>{"S1", "Ani", "1.500.000", "x", "", "akhir"}));
  EXPECT_EQ(Texts(rows, 1, 6), (std::vector<std::string>{"S2", "", "", "", "", "akhir"}));
  EXPECT_EQ(Texts(rows, 2, 6), (std::vector<std::string>{"S3", "", "", "", "", "akhir"}));
  EXPECT_EQ(rows.data(1), 7);
  EXPECT_TRUE(rows.checked(1));
  EXPECT_EQ(rows.image(1, 0), 3);
  EXPECT_EQ(rows.image(0, 3), 9);
  rows.rewriteCells({5}, [](int, std::string_view, std::string&) {});   // emptied again
  EXPECT_EQ(Texts(rows, 0, 6), (std::vector<std::string>{"S1", "Ani", "1.500.000", "x", "", ""}));
}

// Texts that grow, shrink and go, row by row and column by column, read back right, and the store stays near what the
// rows hold: what they leave behind is packed away. A long row and a cleared list filled again read right as well.
TEST(ListRows, TheStoreKeepsToWhatTheRowsHold) {
  constexpr int kRows = 20000;
  ListRows rows;
  auto expected = [](int r, int round) { return std::to_string(r) + std::string(static_cast<std::size_t>(round % 7), '#'); };
  for (int r = 0; r < kRows; ++r) rows.append({"id" + std::to_string(r), expected(r, 0), "tail"}, 3);
  for (int round = 1; round <= 12; ++round) {
    for (int r = 0; r < kRows; ++r) rows.setText(r, 1, expected(r, round));
    EXPECT_LE(rows.storeBytes(), 2 * rows.liveBytes() + 4 * 64 * 1024) << round;
  }
  rows.rewriteCells({0, 2}, [](int col, std::string_view text, std::string& out) {
    out = col == 0 ? std::string(text) + "-" + std::string(text) : std::string();
  });
  for (int r = kRows - 1; r >= 0; r -= 2) rows.remove(r);
  EXPECT_LE(rows.storeBytes(), 2 * rows.liveBytes() + 4 * 64 * 1024);
  ASSERT_EQ(rows.size(), kRows / 2);
  for (int i = 0; i < rows.size(); ++i) {
    const int r = 2 * i;
    ASSERT_EQ(Texts(rows, i, 4), (std::vector<std::string>{"id" + std::to_string(r) + "-id" + std::to_string(r),
                                                           expected(r, 12), "", ""}))
        << i;
  }
  const std::string longText(100000, 'L');
  rows.setText(5, 2, longText);
  rows.insert(0, longText, 1, 0);
  rows.removeColumn(1);
  EXPECT_EQ(rows.text(0, 0), longText);
  EXPECT_EQ(rows.text(6, 1), longText);
  EXPECT_EQ(rows.text(6, 0), "id10-id10");

  ListRows other;
  rows.clear();
  for (int r = 0; r < 1000; ++r) other.append({"o" + std::to_string(r)}, 1);
  for (int r = 0; r < 1000; ++r) rows.append({"n" + std::to_string(r)}, 1);
  EXPECT_EQ(rows.size(), 1000);
  EXPECT_EQ(other.text(999, 0), "o999");
  EXPECT_EQ(rows.text(999, 0), "n999");
  EXPECT_EQ(rows.text(0, 0), "n0");
}

// Random work on a store, checked after every step against plain vectors of texts: rows written anew, grown where they
// lie, packed away and cleared never show another row's bytes or lose their own.
TEST(ListRows, RandomWorkReadsAsPlainVectorsOfTexts) {
  std::mt19937 random(20261211);
  auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto someText = [&](int) {
    const int kind = pick(10);
    if (kind == 0) return std::string();
    if (kind == 1) return std::string(static_cast<std::size_t>(17000 + pick(3000)), static_cast<char>('a' + pick(26)));
    std::string t;
    for (int i = pick(30); i >= 0; --i) t += static_cast<char>('A' + pick(26));
    return t;
  };
  ListRows rows;
  std::vector<std::vector<std::string>> model;   // each row's cells; missing ones read empty
  int columns = 4;
  auto cell = [&model](int r, int c) {
    const auto& cells = model[static_cast<std::size_t>(r)];
    return c < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(c)] : std::string();
  };
  for (int step = 0; step < 4000; ++step) {
    const int n = static_cast<int>(model.size());
    const int op = pick(100);
    if (op < 30 || n == 0) {   // a row appended
      std::vector<std::string> cells;
      for (int c = pick(columns + 2); c > 0; --c) cells.push_back(someText(c));
      rows.append(cells, columns);
      if (static_cast<int>(cells.size()) > columns) cells.resize(static_cast<std::size_t>(columns));
      model.push_back(cells);
    } else if (op < 40) {      // a row inserted
      const int at = pick(n + 1);
      const std::string t = someText(0);
      rows.insert(at, t, 0, 0);
      model.insert(model.begin() + at, std::vector<std::string>{t});
    } else if (op < 75) {      // a cell set
      const int r = pick(n), c = pick(columns);
      const std::string t = someText(c);
      rows.setText(r, c, t);
      auto& cells = model[static_cast<std::size_t>(r)];
      if (static_cast<int>(cells.size()) <= c) cells.resize(static_cast<std::size_t>(c) + 1);
      cells[static_cast<std::size_t>(c)] = t;
    } else if (op < 85) {      // a row removed
      const int r = pick(n);
      rows.remove(r);
      model.erase(model.begin() + r);
    } else if (op < 92) {      // a column rewritten
      const int c = pick(columns);
      rows.rewriteCells({c}, [](int, std::string_view text, std::string& out) {
        out = text.size() % 2 ? std::string(text) + "+" : std::string(text.substr(0, text.size() / 2));
      });
      for (auto& cells : model) {
        if (static_cast<int>(cells.size()) <= c) cells.resize(static_cast<std::size_t>(c) + 1);
        std::string& t = cells[static_cast<std::size_t>(c)];
        t = t.size() % 2 ? t + "+" : t.substr(0, t.size() / 2);
      }
    } else if (op < 95) {      // a column inserted or removed
      const int c = pick(columns);
      if (pick(2) && columns < 8) {
        rows.insertColumn(c);
        for (auto& cells : model)
          if (static_cast<int>(cells.size()) > c) cells.insert(cells.begin() + c, std::string());
        ++columns;
      } else if (columns > 1) {
        rows.removeColumn(c);
        for (auto& cells : model)
          if (static_cast<int>(cells.size()) > c) cells.erase(cells.begin() + c);
        --columns;
      }
    } else if (op < 97) {      // the cells cleared, the rows kept
      rows.clearCells();
      for (auto& cells : model) cells.clear();
    } else if (op < 98) {      // everything cleared
      rows.clear();
      model.clear();
    }
    ASSERT_EQ(rows.size(), static_cast<int>(model.size())) << step;
    for (int r = 0; r < rows.size(); ++r)
      for (int c = 0; c < columns + 1; ++c) ASSERT_EQ(rows.text(r, c), cell(r, c)) << step << ": " << r << "," << c;
  }
}

}  // namespace
