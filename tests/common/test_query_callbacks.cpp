// The shared row callbacks and the statement runner: values, NULLs, rows, counts, the "SQL error: " box, quoting and
// transactions.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QWidget>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/controls.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

class QueryTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama, Alamat) VALUES ('001', 'ANI', NULL), ('002', 'BUDI', 'Jl. Mawar');"
                  "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) VALUES ('101', 'SPP', 'Msk', '2024/2025');");
    gSqlResult.clear();
    gSqlErrMsg.clear();
    gFormMode.clear();
    gRowCount = 0;
    gListRowCount = 0;
    gCountResult = 0;
  }
  void TearDown() override {
    sqlite3_close(gDb);
    gDb = nullptr;
  }
};

TEST_F(QueryTest, SingleValueKeepsTheLastRow) {
  EXPECT_EQ(FinExec("select Nama from siswa order by Id", FinCbSingleValue), SQLITE_OK);
  EXPECT_EQ(gSqlResult, "BUDI");
  EXPECT_EQ(FinExec("select Alamat from siswa where Id='001'", FinCbSingleValue), SQLITE_OK);
  EXPECT_EQ(gSqlResult, "");   // NULL reads as the empty text
  gSqlResult = "x";
  EXPECT_EQ(FinExec("select sum(masuk) from transaksi", FinCbSingleValue), SQLITE_OK);
  EXPECT_EQ(gSqlResult, "");   // a sum over no rows is NULL
  gSqlResult = "kept";
  EXPECT_EQ(FinExec("select Nama from siswa where Id='999'", FinCbFirstValue), SQLITE_OK);
  EXPECT_EQ(gSqlResult, "kept");   // no row: untouched
}

TEST_F(QueryTest, AppendRowJoinsValuesAndRows) {
  EXPECT_EQ(FinExec("select Id, Nama, Alamat from siswa order by Id", FinCbAppendRow), SQLITE_OK);
  EXPECT_EQ(gSqlResult, "001;ANI;|002;BUDI;Jl. Mawar|");
  EXPECT_EQ(gRowCount, 2);
  EXPECT_EQ(gFormMode, "002");   // column 0 of the last row

  gSqlResult.clear();
  gRowCount = 0;
  EXPECT_EQ(FinExec("select Nama from siswa order by Id", FinCbAppendRow), SQLITE_OK);
  EXPECT_EQ(gSqlResult, "ANI|BUDI|");   // one column: a bar, no semicolon
  EXPECT_EQ(gFormMode, "BUDI");

  gSqlResult = "before";
  gFormMode = "JURNAL KAS";
  EXPECT_EQ(FinExec("select Nama from siswa where Id='999'", FinCbAppendRow), SQLITE_OK);
  EXPECT_EQ(gSqlResult, "before");
  EXPECT_EQ(gFormMode, "JURNAL KAS");
  EXPECT_EQ(gRowCount, 2);
}

// A report-view list of our own for the list-fill callback; gone with the fixture.
class FillListTest : public QueryTest {
 protected:
  void SetUp() override {
    QueryTest::SetUp();
    list_ = WinCreateControl(0, "SysListView32", "", LVS_REPORT, 0, 0, 300, 200, 0, 77);
    ASSERT_NE(list_, 0);
    gTargetListView = list_;
  }
  void TearDown() override {
    delete WinWidget(list_);
    gTargetListView = 0;
    QueryTest::TearDown();
  }
  std::vector<std::string> Captions() {
    std::vector<std::string> out;
    for (int c = 0; c < LvGetColumnCount(list_); ++c) out.push_back(LvGetColumnText(list_, c));
    return out;
  }
  std::vector<std::string> Row(int r) {
    std::vector<std::string> out;
    for (int c = 0; c < LvGetColumnCount(list_); ++c) out.push_back(LvGetItemText(list_, r, c));
    return out;
  }
  Hwnd list_ = 0;
};

using Texts = std::vector<std::string>;

TEST_F(FillListTest, EmptyListGetsColumnsFromTheFirstRow) {
  EXPECT_EQ(FinExec("select Id, Nama, Alamat from siswa order by Id", FinCbFillList), SQLITE_OK);
  EXPECT_EQ(Captions(), (Texts{"ID", "NAMA", "ALAMAT"}));
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(LvGetColumnAlign(list_, c), LVCFMT_LEFT);
    EXPECT_EQ(LvGetColumnWidth(list_, c), 100);
  }
  ASSERT_EQ(LvGetItemCount(list_), 2);
  EXPECT_EQ(Row(0), (Texts{"001", "ANI", ""}));
  EXPECT_EQ(Row(1), (Texts{"002", "BUDI", "Jl. Mawar"}));
  EXPECT_EQ(LvGetItemData(list_, 0, 0), 0);
  EXPECT_EQ(gSqlResult, "002;BUDI;Jl. Mawar;");   // the last row, each cell followed by ";"
  EXPECT_EQ(gListRowCount, 2);

  // Next statement with as many columns: no new columns, rows appended.
  EXPECT_EQ(FinExec("select Kode, Deskripsi, Grup from rekening", FinCbFillList), SQLITE_OK);
  EXPECT_EQ(Captions(), (Texts{"ID", "NAMA", "ALAMAT"}));
  EXPECT_EQ(Row(2), (Texts{"101", "SPP", "Msk"}));
  EXPECT_EQ(gListRowCount, 3);
}

TEST_F(FillListTest, FewerColumnsThanTheRowInsertsAllInFront) {
  LvInsertColumn(list_, 0, "A", LVCFMT_RIGHT, 50);
  LvInsertColumn(list_, 1, "B", LVCFMT_RIGHT, 50);
  EXPECT_EQ(FinExec("select Kode as kode, Deskripsi, Grup as grup_x from rekening", FinCbFillList), SQLITE_OK);
  EXPECT_EQ(Captions(), (Texts{"KODE", "DESKRIPSI", "GRUP_X", "A", "B"}));
  EXPECT_EQ(Row(0), (Texts{"101", "SPP", "Msk", "", ""}));
}

// Empty and NULL values between others, a list that already has rows and more columns than the statement.
TEST_F(FillListTest, RowsGoAfterTheOnesThereWithEveryCellInItsColumn) {
  for (int c = 0; c < 5; ++c) LvInsertColumn(list_, c, "K" + std::to_string(c), LVCFMT_LEFT, 50);
  LvInsertItem(list_, 0, 0, "lama", 7, 0);
  LvInsertItem(list_, 0, 4, "ujung", 0, 0);
  LvSetSelectionMark(list_, 0);
  EXPECT_EQ(FinExec("select 'a', NULL, '', 'd' union all select NULL, 'b', NULL, NULL", FinCbFillList), SQLITE_OK);
  EXPECT_EQ(Captions(), (Texts{"K0", "K1", "K2", "K3", "K4"}));
  ASSERT_EQ(LvGetItemCount(list_), 3);
  EXPECT_EQ(Row(0), (Texts{"lama", "", "", "", "ujung"}));
  EXPECT_EQ(LvGetItemData(list_, 0, 0), 7);
  EXPECT_EQ(Row(1), (Texts{"a", "", "", "d", ""}));
  EXPECT_EQ(Row(2), (Texts{"", "b", "", "", ""}));
  EXPECT_EQ(LvGetItemData(list_, 2, 0), 0);
  EXPECT_EQ(LvGetItemImage(list_, 1, 0), 0);
  EXPECT_EQ(LvGetSelectionMark(list_), 0);
  EXPECT_EQ(gSqlResult, ";b;;;");
  EXPECT_EQ(gListRowCount, 2);
}

TEST_F(FillListTest, NoRowsChangeNothing) {
  gSqlResult = "kept";
  gListRowCount = 4;
  EXPECT_EQ(FinExec("select Id, Nama from siswa where Id='none'", FinCbFillList), SQLITE_OK);
  EXPECT_EQ(LvGetColumnCount(list_), 0);
  EXPECT_EQ(LvGetItemCount(list_), 0);
  EXPECT_EQ(gSqlResult, "kept");
  EXPECT_EQ(gListRowCount, 4);
}

TEST_F(FillListTest, GoneListIsNoCrash) {
  delete WinWidget(list_);
  EXPECT_EQ(FinExec("select Id, Nama from siswa", FinCbFillList), SQLITE_OK);
  EXPECT_EQ(gListRowCount, 2);
  EXPECT_EQ(gSqlResult, "002;BUDI;");
}

TEST_F(QueryTest, ErrorLogIsWrittenAndOpened) {
  fintest::WriteFile(WorkFile("Catatan Error SQL.txt"), "old\r\nlines\r\n");
  FinShowSqlErrorLog("no such table: x");
  EXPECT_EQ(fintest::ReadFile(WorkFile("Catatan Error SQL.txt")), "no such table: x\r\n");
  EXPECT_EQ(opened(), std::vector<std::string>{WorkFile("Catatan Error SQL.txt")});
  // No program can open it: the operator is told.
  scripted().SetOpenResult(false);
  ExpectMsgBox("Tidak ada program yang dapat dijalankan untuk membuka " + WorkFile("Catatan Error SQL.txt") + "..",
               "Info", IDOK, MB_OK);
  FinShowSqlErrorLog("no such table: y");
}

TEST_F(QueryTest, CountReadsTheLeadingNumber) {
  EXPECT_EQ(FinExec("select count(*) from siswa", FinCbCount), SQLITE_OK);
  EXPECT_EQ(gCountResult, 2);
  struct Case {
    const char* sql;
    long long count;
  } cases[] = {
      {"select '12'", 12}, {"select 'abc'", 0}, {"select NULL", 0}, {"select '12.5'", 12},
      {"select '13.5'", 14}, {"select ' 7 rows'", 7}, {"select -3", -3},
  };
  for (const Case& c : cases) {
    gCountResult = 99;
    EXPECT_EQ(FinExec(c.sql, FinCbCount), SQLITE_OK);
    EXPECT_EQ(gCountResult, c.count) << c.sql;
  }
}

TEST_F(QueryTest, FailedStatementIsShownAndLeavesTheResults) {
  gSqlResult = "kept";
  gCountResult = 5;
  ExpectMsgBox("SQL error: no such table: nothere", "Info", IDOK, MB_OK);
  EXPECT_NE(FinExec("select count(*) from nothere", FinCbCount), SQLITE_OK);
  EXPECT_EQ(gSqlErrMsg, "no such table: nothere");
  EXPECT_EQ(gCountResult, 5);
  EXPECT_EQ(gSqlResult, "kept");

  ExpectMsgBox("SQL error1: no such table: nothere", "Info");
  EXPECT_NE(FinExec("select 1 from nothere", FinCbSingleValue, "SQL error1: "), SQLITE_OK);

  EXPECT_NE(FinExecQuiet("select 1 from nothere"), SQLITE_OK);   // no box
  EXPECT_EQ(gSqlErrMsg, "no such table: nothere");
}

TEST_F(QueryTest, NoConnectionIsAFailureNotACrash) {
  sqlite3* db = gDb;
  gDb = nullptr;
  AllowMsgBoxes();
  EXPECT_NE(FinExec("select 1", FinCbSingleValue), SQLITE_OK);
  EXPECT_FALSE(gSqlErrMsg.empty());
  gDb = db;
}

TEST_F(QueryTest, QuotedValuesNeverWidenAStatement) {
  EXPECT_EQ(SqlQ("O'Brien"), "O''Brien");
  EXPECT_EQ(SqlQ("''"), "''''");
  EXPECT_EQ(SqlQ("plain"), "plain");
  EXPECT_EQ(SqlQuoted("a'b"), "'a''b'");
  EXPECT_EQ(SqlQ(""), "");

  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('003', 'O''BRIEN')");
  for (const char* typed : {"' or ''='", "x' or 1=1 --", "001' --"}) {
    gCountResult = -1;
    EXPECT_EQ(FinExec("Select Count(*) From siswa WHERE Id='" + SqlQ(typed) + "'", FinCbCount), SQLITE_OK);
    EXPECT_EQ(gCountResult, 0) << typed;
  }
  EXPECT_EQ(FinExec("Select Count(*) From siswa WHERE Nama='" + SqlQ("O'BRIEN") + "'", FinCbCount), SQLITE_OK);
  EXPECT_EQ(gCountResult, 1);
  // A value holding a NUL cannot end the literal either: the statement is refused.
  AllowMsgBoxes();
  EXPECT_NE(FinExec("Select Count(*) From siswa WHERE Id='" + SqlQ(std::string("001\0' or 1=1 --", 16)) + "'",
                    FinCbCount),
            SQLITE_OK);
}

TEST_F(QueryTest, TransactionWritesAllRowsOrNone) {
  const std::string ok1 = "INSERT INTO transaksi (id, masuk, sts) VALUES ('R1', 1000, 'p')";
  const std::string ok2 = "INSERT INTO transaksi (id, masuk, sts) VALUES ('R2', -100, 'p')";
  const std::string bad = "INSERT INTO transaksi (id, nocolumn) VALUES ('R3', 5)";

  ExpectMsgBox("SQL error: table transaksi has no column named nocolumn", "Info");
  EXPECT_FALSE(FinExecAll({ok1, ok2, bad}));
  EXPECT_EQ(fintest::Query(gDb, "select count(*) from transaksi")[0][0], "0");
  EXPECT_EQ(gSqlErrMsg, "table transaksi has no column named nocolumn");

  EXPECT_TRUE(FinExecAll({ok1, ok2}));
  EXPECT_EQ(fintest::Query(gDb, "select sum(masuk) from transaksi")[0][0], "900");

  {
    FinTransaction tx;
    ASSERT_TRUE(tx.active());
    EXPECT_EQ(FinExec("DELETE FROM transaksi"), SQLITE_OK);
  }   // left without commit: undone
  EXPECT_EQ(fintest::Query(gDb, "select count(*) from transaksi")[0][0], "2");

  {
    FinTransaction outer;
    EXPECT_EQ(FinExec("DELETE FROM transaksi WHERE id='R1'"), SQLITE_OK);
    {
      FinTransaction inner;   // nests inside the outer one
      EXPECT_EQ(FinExec("DELETE FROM transaksi WHERE id='R2'"), SQLITE_OK);
    }
    EXPECT_TRUE(outer.commit());
  }
  EXPECT_EQ(fintest::Query(gDb, "select id from transaksi"), (std::vector<std::vector<std::string>>{{"R2"}}));
  EXPECT_TRUE(sqlite3_get_autocommit(gDb));
}

}  // namespace
