// The database connection window driven as an operator would: its controls, picking a file, switching the running
// program to it (conn.txt rewritten in the program folder with fields 2 and 3 kept), and files that cannot be opened,
// which leave the connection in use as it was.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QTest>
#include <QWidget>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/database_window.h"
#include "app/globals.h"
#include "common/busy.h"
#include "common/database.h"
#include "common/handover.h"
#include "common/session.h"
#include "framework/controls.h"
#include "framework/dialogs.h"
#include "framework/fonts.h"
#include "framework/form_runtime.h"
#include "framework/window_data.h"
#include "framework/window_system.h"
#include "platform/seams.h"
#include "students/import_window.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"
#include "support/operator.h"
#include "support/other_program.h"
#include "support/locked_folder.h"

using fintest::Click;
using fintest::Type;

namespace {

using Rows = std::vector<std::vector<std::string>>;

class DatabaseWindowTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDbPath = WorkFile("lama.db3");
    gDb = fintest::CreateDatabase(gDbPath);
    fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('L1', 'LAMA')");
    gConnField2 = "";
    gConnField3 = "";
    FORM12_InitControlIds();
  }
  void TearDown() override {
    if (IsWindow(gForm12Window)) WinDestroyWindow(gForm12Window);
    sqlite3_close(gDb);
    gDb = nullptr;
    gDbPath.clear();
    gConnField2.clear();
    gConnField3.clear();
  }

  // A second database holding one student of its own.
  std::string MakeOtherDatabase(const std::string& name) {
    const std::string path = WorkFile(name);
    sqlite3* db = fintest::CreateDatabase(path);
    fintest::Exec(db, "INSERT INTO siswa (Id, Nama) VALUES ('B1', 'BARU')");
    sqlite3_close(db);
    return path;
  }

  // Shows the window modally; `drive` runs inside its loop and must end it.
  std::intptr_t RunWindow(std::function<void()> drive, int parameter = 0) {
    OnModal([drive](QWidget*) { drive(); });
    return FORM12_Show(0, 1, parameter);
  }
  static Rows Students() { return fintest::Query(gDb, "SELECT Id, Nama FROM siswa ORDER BY Id"); }
  bool ProgramConnExists() const { return std::filesystem::exists(ProgramFile("conn.txt")); }
};

// ------------------------------------------------------------------------------------------------------------------
TEST_F(DatabaseWindowTest, ControlsAsDesigned) {
  struct Ctl {
    Hwnd* window;
    int id;
    const char* cls;
    std::string text;
    int x, y, w, h;
  };
  const std::vector<Ctl> table = {
      {&gForm12SaveButton, 1000, "Button", "Simpan dan Keluar", 328, 40, 133, 23},
      {&gForm12BrowseButton, 1001, "Button", "Cari Database", 80, 40, 133, 23},
      {&gForm12SourceLabel, 1002, "Static", "Sumber", 8, 16, 81, 33},
      {&gForm12PathEdit, 1003, "Edit", gDbPath, 80, 16, 381, 20},
  };
  const std::intptr_t r = RunWindow(
      [&] {
        const Hwnd form = gForm12Window;
        ASSERT_TRUE(IsWindow(form));
        EXPECT_EQ(WinGetWindowText(form), "Koneksi Database");
        EXPECT_EQ(WinGetClassName(form), "FORM_FINANCE_FORM12_CLASS");
        const WinRect fr = WinGetClientRect(form);
        EXPECT_EQ(fr.width(), FrmScaleX(500));
        EXPECT_EQ(fr.height(), FrmScaleY(122));
        const QFont expected = FontFromHandle(FontCreateFromSpec("Arial,-12,0,0,0,400,0,0,0,0,3,2,1,34"));
        for (const Ctl& c : table) {
          SCOPED_TRACE(c.id);
          const Hwnd h = *c.window;
          ASSERT_TRUE(IsWindow(h));
          EXPECT_EQ(WinGetDlgCtrlID(h), c.id);
          EXPECT_EQ(WinGetClassName(h), c.cls);
          EXPECT_EQ(CtlGetText(h), c.text);
          const WinRect rc = WinGetWindowRect(h);
          EXPECT_EQ(rc.left, FrmScaleX(c.x));
          EXPECT_EQ(rc.top, FrmScaleY(c.y));
          EXPECT_EQ(rc.width(), FrmScaleX(c.w));
          EXPECT_EQ(rc.height(), FrmScaleY(c.h));
          EXPECT_EQ(WinWidget(h)->font().family(), expected.family());
          EXPECT_EQ(WinWidget(h)->font().pointSize(), expected.pointSize());
          EXPECT_EQ(CtlGetToolTip(h), "");
        }
        const WindowData* label = FrmDataOf(gForm12SourceLabel);
        EXPECT_TRUE(label->colorsOn && label->backIsSysColor && label->backColor == COLOR_BTNFACE);
        const WindowData* edit = FrmDataOf(gForm12PathEdit);
        EXPECT_TRUE(edit->colorsOn && edit->backIsSysColor && edit->backColor == COLOR_WINDOW);
        EXPECT_EQ(edit->selectAllOnFocus, 0);
        EXPECT_EQ(WinWidget(form)->focusWidget(), WinWidget(gForm12SaveButton));
        // Esc is no command of this window.
        QTest::keyClick(WinWidget(gForm12SaveButton), Qt::Key_Escape);
        EXPECT_TRUE(IsWindow(gForm12Window));
        WinWidget(form)->close();   // the close box
        EXPECT_FALSE(IsWindow(gForm12Window));
      },
      4);
  EXPECT_EQ(r, 0);
  EXPECT_EQ(gForm12Window, 0);
  EXPECT_EQ(gDbPath, WorkFile("lama.db3"));
  EXPECT_FALSE(ProgramConnExists());
  EXPECT_EQ(Students(), (Rows{{"L1", "LAMA"}}));
}

TEST_F(DatabaseWindowTest, EmptyPathShowsAnEmptyEdit) {
  gDbPath.clear();
  RunWindow([] {
    EXPECT_EQ(CtlGetText(gForm12PathEdit), "");
    WinSendMessage(gForm12Window, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  EXPECT_EQ(gForm12Window, 0);
}

TEST_F(DatabaseWindowTest, ChosenFileBecomesTheConnectionAndIsRemembered) {
  // Start-up read conn.txt from the working folder; the window writes the program folder's.
  fintest::WriteFile(WorkFile("conn.txt"), WorkFile("lama.db3") + ";-;-\r\n");
  AppReadConnFile();
  const std::string other = MakeOtherDatabase("baru.db3");
  AnswerFileDialog(other);
  ExpectMsgBox("database berhasil dikoneksikan..", "Info", IDOK, MB_OK);
  const std::intptr_t r = RunWindow([&] {
    Click(gForm12BrowseButton);
    EXPECT_EQ(CtlGetText(gForm12PathEdit), other);
    EXPECT_EQ(gDbPath, WorkFile("lama.db3"));   // nothing switched before "Simpan dan Keluar"
    Click(gForm12SaveButton);
    EXPECT_FALSE(IsWindow(gForm12Window));
  });
  EXPECT_EQ(r, 0);
  ASSERT_EQ(fileDialogs().size(), 1u);
  const platform::FileDialogRequest& q = fileDialogs()[0].request;
  EXPECT_EQ(q.kind, platform::FileDialogRequest::Open);
  EXPECT_EQ(q.title, "Cari dan Pilih File Database");
  EXPECT_EQ(q.fileName, "");
  EXPECT_EQ(q.folder, workDir());
  EXPECT_EQ(q.filter, "Database files (*.db3)|*.db3|All Files (*.*)|*.*");
  EXPECT_EQ(q.defaultExt, "db3");
  EXPECT_EQ(q.flags, unsigned(OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR));
  EXPECT_FALSE(q.centre);

  EXPECT_EQ(gDbPath, other);
  EXPECT_EQ(Students(), (Rows{{"B1", "BARU"}}));   // the running program works on the new file
  EXPECT_EQ(fintest::ReadFile(ProgramFile("conn.txt")), other + ";;\r\n");
  EXPECT_EQ(fintest::ReadFile(WorkFile("conn.txt")), WorkFile("lama.db3") + ";-;-\r\n");
}

TEST_F(DatabaseWindowTest, ConnFileKeepsFieldsTwoAndThree) {
  struct Case {
    const char* line;       // conn.txt as start-up read it
    const char* written;    // after the path: what follows in the program folder's conn.txt
  } cases[] = {
      {"lama.db3;-;-", ";;"},
      {"lama.db3;server;3306", ";server;3306"},
      {"lama.db3;-;x", ";;x"},
      {"lama.db3", ";lama.db3;lama.db3"},   // a line without ";" gives the whole line for both fields
  };
  const std::string other = MakeOtherDatabase("baru.db3");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    fintest::WriteFile(WorkFile("conn.txt"), std::string(c.line) + "\r\n");
    std::filesystem::remove(ProgramFile("conn.txt"));   // a start-up that read the working folder's file
    AppReadConnFile();
    gDbPath = WorkFile("lama.db3");
    ExpectMsgBox("database berhasil dikoneksikan..", "Info");
    RunWindow([&] {
      Type(gForm12PathEdit, other);
      Click(gForm12SaveButton);
    });
    EXPECT_EQ(fintest::ReadFile(ProgramFile("conn.txt")), other + c.written + "\r\n");
    VerifySeams();
  }
}

TEST_F(DatabaseWindowTest, CancelledDialogLeavesThePath) {
  CancelFileDialog();
  RunWindow([] {
    CtlSetText(gForm12PathEdit, "ketik.db3");
    Click(gForm12BrowseButton);
    EXPECT_EQ(CtlGetText(gForm12PathEdit), "ketik.db3");
    EXPECT_TRUE(IsWindow(gForm12Window));
    WinWidget(gForm12Window)->close();
  });
  EXPECT_EQ(gDbPath, WorkFile("lama.db3"));
  EXPECT_FALSE(std::filesystem::exists(WorkFile("ketik.db3")));
}

TEST_F(DatabaseWindowTest, FileThatCannotBeOpenedKeepsTheConnectionInUse) {
  fintest::WriteFile(WorkFile("catatan.db3"), "bukan database, hanya teks biasa\r\n");
  std::filesystem::create_directory(WorkFile("folder.db3"));
  struct Case {
    std::string path;
    std::string message;
  } cases[] = {
      {WorkFile("tidak ada/data.db3"), "Tidak dapat membuka database: unable to open database file"},
      {WorkFile("folder.db3"), "Tidak dapat membuka database: unable to open database file"},
      {WorkFile("catatan.db3"), "Tidak dapat membuka database: file is not a database"},
  };
  sqlite3* const inUse = gDb;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ExpectMsgBox(c.message, "Info", IDOK, MB_OK);
    RunWindow([&] {
      CtlSetText(gForm12PathEdit, c.path);
      Click(gForm12SaveButton);
      EXPECT_TRUE(IsWindow(gForm12Window));   // stays, so that the path can be corrected
      EXPECT_EQ(CtlGetText(gForm12PathEdit), c.path);
      WinWidget(gForm12Window)->close();
    });
    VerifySeams();
    EXPECT_EQ(gDb, inUse);
    EXPECT_EQ(gDbPath, WorkFile("lama.db3"));
    EXPECT_EQ(Students(), (Rows{{"L1", "LAMA"}}));   // still usable
    EXPECT_FALSE(ProgramConnExists());
  }
  EXPECT_EQ(fintest::ReadFile(WorkFile("catatan.db3")), "bukan database, hanya teks biasa\r\n");
}

TEST_F(DatabaseWindowTest, CorrectedPathAfterAFailureSwitches) {
  const std::string other = MakeOtherDatabase("baru.db3");
  ExpectMsgBox("Tidak dapat membuka database: unable to open database file", "Info");
  ExpectMsgBox("database berhasil dikoneksikan..", "Info");
  RunWindow([&] {
    CtlSetText(gForm12PathEdit, WorkFile("salah/baru.db3"));
    Click(gForm12SaveButton);
    ASSERT_TRUE(IsWindow(gForm12Window));
    CtlSetText(gForm12PathEdit, other);
    Click(gForm12SaveButton);
    EXPECT_FALSE(IsWindow(gForm12Window));
  });
  EXPECT_EQ(gDbPath, other);
  EXPECT_EQ(Students(), (Rows{{"B1", "BARU"}}));
}

TEST_F(DatabaseWindowTest, OnlyAnExistingSoundFinanceDatabaseIsTaken) {
  // A typo never makes a new empty file, and an empty, foreign or damaged file is refused: the program stays on the
  // database in use.
  fintest::WriteFile(WorkFile("kosong.db3"), "");
  fintest::WriteForeignDatabase(WorkFile("lain.db3"), "catatan");
  fintest::WriteAlteredDatabase(WorkFile("tanpa-masuk.db3"), fintest::kMoneyWithoutMasuk);
  fintest::WriteAlteredDatabase(WorkFile("tanpa-gaji.db3"), "DROP TABLE mastergaji");
  struct Case {
    std::string typed;
    std::string message;
  } cases[] = {
      {WorkFile("tanpa-masuk.db3"),
       "Tidak dapat membuka database: bukan database keuangan, kolom transaksi.masuk tidak ada"},
      {WorkFile("tanpa-gaji.db3"), "Tidak dapat membuka database: bukan database keuangan, tabel mastergaji tidak ada"},
      {WorkFile("baru.db3"), "Tidak dapat membuka database: unable to open database file"},
      {workDir() + "\\sub.db3", "Tidak dapat membuka database: unable to open database file"},
      {"", "Tidak dapat membuka database: unable to open database file"},
      {WorkFile("kosong.db3"), "Tidak dapat membuka database: bukan database keuangan, tabel siswa tidak ada"},
      {WorkFile("lain.db3"), "Tidak dapat membuka database: bukan database keuangan, tabel siswa tidak ada"},
  };
  sqlite3* const inUse = gDb;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ExpectMsgBox(c.message, "Info");
    RunWindow([&] {
      CtlSetText(gForm12PathEdit, c.typed);
      Click(gForm12SaveButton);
      EXPECT_TRUE(IsWindow(gForm12Window));
      WinWidget(gForm12Window)->close();
    });
    VerifySeams();
    EXPECT_EQ(gDb, inUse);
    EXPECT_EQ(gDbPath, WorkFile("lama.db3"));
    EXPECT_FALSE(ProgramConnExists());
  }
  EXPECT_FALSE(std::filesystem::exists(WorkFile("baru.db3")));
  EXPECT_FALSE(std::filesystem::exists(WorkFile("sub.db3")));
  EXPECT_EQ(fintest::ReadFile(WorkFile("kosong.db3")), "");
  EXPECT_EQ(Students(), (Rows{{"L1", "LAMA"}}));
}

TEST_F(DatabaseWindowTest, ARefusedFileIsLeftByteForByteAsItWas) {
  // A foreign database that shares a table name with the system's: nothing is written to it, not even an index.
  const std::string foreignPath = WorkFile("lain.db3");
  sqlite3* foreign = nullptr;
  sqlite3_open(foreignPath.c_str(), &foreign);
  fintest::Exec(foreign, "CREATE TABLE siswa (Id TEXT, Nama TEXT); INSERT INTO siswa VALUES ('X1', 'ASING')");
  sqlite3_close(foreign);
  const std::string before = fintest::ReadFile(foreignPath);
  ExpectMsgBox("Tidak dapat membuka database: bukan database keuangan, tabel siswakelas tidak ada", "Info");
  RunWindow([&] {
    CtlSetText(gForm12PathEdit, foreignPath);
    Click(gForm12SaveButton);
    EXPECT_TRUE(IsWindow(gForm12Window));
    WinWidget(gForm12Window)->close();
  });
  EXPECT_EQ(gDbPath, WorkFile("lama.db3"));
  EXPECT_EQ(fintest::ReadFile(foreignPath), before);
  EXPECT_EQ(fintest::IndexCount(foreignPath), 0);
}

TEST_F(DatabaseWindowTest, TheChosenDatabaseGetsTheSchemasIndexes) {
  const std::string older = WorkFile("tanpa-indeks.db3");
  fintest::CreateDatabaseWithoutIndexes(older);
  ExpectMsgBox("database berhasil dikoneksikan..", "Info");
  RunWindow([&] {
    CtlSetText(gForm12PathEdit, older);
    Click(gForm12SaveButton);
  });
  EXPECT_EQ(gDbPath, older);
  EXPECT_EQ(fintest::IndexCount(older), static_cast<int>(FinIndexStatements().size()));
}

// A switch asked for while the indexes of a database are being made (the window's button clicked again from a box) is
// refused and changes nothing.
TEST_F(DatabaseWindowTest, ASwitchIsNotStartedWhileOneRuns) {
  const std::string other = MakeOtherDatabase("baru.db3");
  const std::string older = WorkFile("tanpa-indeks.db3");
  fintest::CreateDatabaseWithoutIndexes(older);
  for (const std::string& path : {other, older}) {
    FinBusy running(FinBusyTask::Indexes, false);
    std::string error;
    EXPECT_FALSE(FORM12_SwitchDatabase(path, error));
    EXPECT_EQ(error, kFinBusyRefusal);
    EXPECT_EQ(gDbPath, WorkFile("lama.db3"));
  }
  EXPECT_EQ(fintest::IndexCount(older), 0);
  for (int i = 0; i < 2; ++i) ExpectMsgBox(std::string("Tidak dapat membuka database: ") + kFinBusyRefusal, "Info");
  RunWindow([&] {
    FinBusy running(FinBusyTask::Indexes, false);
    CtlSetText(gForm12PathEdit, other);
    Click(gForm12SaveButton);
    EXPECT_TRUE(IsWindow(gForm12Window));   // the window stays open: the next click is refused the same way
    Click(gForm12SaveButton);
    FrmClose(gForm12Window, 0);
  });
  VerifySeams();
  EXPECT_EQ(gDbPath, WorkFile("lama.db3"));
}

TEST_F(DatabaseWindowTest, AChosenFileInWriteAheadLogModeIsReturnedToTheRollbackJournal) {
  const std::string other = MakeOtherDatabase("wal.db3");
  sqlite3* db = nullptr;
  sqlite3_open(other.c_str(), &db);
  fintest::Exec(db, "PRAGMA journal_mode=WAL");
  sqlite3_close(db);
  ASSERT_EQ(fintest::ReadFile(other)[18], 2);   // the file's header: write-ahead log
  ExpectMsgBox("database berhasil dikoneksikan..", "Info");
  RunWindow([&] {
    CtlSetText(gForm12PathEdit, other);
    Click(gForm12SaveButton);
  });
  ASSERT_EQ(gDbPath, other);
  EXPECT_EQ(fintest::Query(gDb, "PRAGMA journal_mode"), (Rows{{"delete"}}));
  // What is saved from now on is in the database file itself, never in a -wal file beside it.
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('B2', 'BARU DUA')");
  EXPECT_FALSE(std::filesystem::exists(other + "-wal"));
  EXPECT_EQ(fintest::ReadFile(other)[18], 1);
  EXPECT_EQ(fintest::RowsInFile(other, "SELECT Id FROM siswa ORDER BY Id"), (Rows{{"B1"}, {"B2"}}));
}

// When conn.txt cannot be written (a program folder in which no file can be made, or something else standing under
// that name) the switch holds for this run, and the box says that the next start will not open the chosen file
// instead of promising it.
TEST_F(DatabaseWindowTest, AConnFileThatCannotBeWrittenIsTold) {
  // Start-up read conn.txt from the working folder: the program folder has none.
  fintest::WriteFile(WorkFile("conn.txt"), WorkFile("lama.db3") + ";-;-\r\n");
  AppReadConnFile();
  const std::string other = MakeOtherDatabase("baru.db3");
  const std::string told = "database dikoneksikan hanya sampai program ditutup, file " + ProgramFile("conn.txt") +
                           " tidak dapat ditulis sehingga program yang dijalankan berikutnya tidak membuka database "
                           "ini..";
  for (const bool lockedFolder : {true, false}) {
    SCOPED_TRACE(lockedFolder ? "program folder locked" : "a folder named conn.txt");
    gDbPath = WorkFile("lama.db3");
    {
      std::unique_ptr<fintest::LockedFolder> lock;
      if (lockedFolder) {
        lock = std::make_unique<fintest::LockedFolder>(programDir());
        if (!lock->locked()) continue;   // nothing to show on this machine
      } else {
        std::filesystem::create_directory(ProgramFile("conn.txt"));
      }
      ExpectMsgBox(told, "Info", IDOK, MB_OK);
      RunWindow([&] {
        Type(gForm12PathEdit, other);
        Click(gForm12SaveButton);
        EXPECT_FALSE(IsWindow(gForm12Window));
      });
      VerifySeams();
    }
    EXPECT_EQ(gDbPath, other);                       // this run works on the chosen file
    EXPECT_EQ(Students(), (Rows{{"B1", "BARU"}}));
    EXPECT_FALSE(std::filesystem::is_regular_file(ProgramFile("conn.txt")));
    EXPECT_EQ(fintest::ReadFile(WorkFile("conn.txt")), WorkFile("lama.db3") + ";-;-\r\n");
    std::filesystem::remove(ProgramFile("conn.txt"));
  }
  // Written, it is told as before.
  gDbPath = WorkFile("lama.db3");
  ExpectMsgBox("database berhasil dikoneksikan..", "Info", IDOK, MB_OK);
  RunWindow([&] {
    Type(gForm12PathEdit, other);
    Click(gForm12SaveButton);
  });
  EXPECT_EQ(fintest::ReadFile(ProgramFile("conn.txt")), other + ";;\r\n");
}

namespace {
// Cuts the database file to its first two pages as soon as the read of the ledger accounts has given its first row,
// as a copy made over it by hand, or a disk that goes away, would.
struct CutUnderRead {
  std::string path;
  bool cut = false;
};
int CutAfterFirstRow(unsigned type, void* context, void* statement, void*) {
  auto* c = static_cast<CutUnderRead*>(context);
  const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(statement));
  if (type == SQLITE_TRACE_ROW && !c->cut && sql && std::string(sql).find("From rekening") != std::string::npos) {
    c->cut = truncate(c->path.c_str(), 2 * 4096) == 0;
  }
  return 0;
}
}  // namespace

// A file that shrinks while a window reads it fails that read with SQLite's message ("SQL error: ..."); it never ends
// the program. Run in a child process, so that a signal that would end the program is seen as a failure.
TEST_F(DatabaseWindowTest, AFileCutUnderARunningReadIsAnErrorNotACrash) {
  gTapel = "2024/2025";
  const std::string big = MakeOtherDatabase("besar.db3");
  ExpectMsgBox("database berhasil dikoneksikan..", "Info");
  RunWindow([&] {
    Type(gForm12PathEdit, big);
    Click(gForm12SaveButton);
  });
  ASSERT_EQ(gDbPath, big);
  // A second desk on the same file adds the school's income accounts, many pages of them.
  sqlite3* desk = nullptr;
  ASSERT_EQ(sqlite3_open_v2(big.c_str(), &desk, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  fintest::Exec(desk, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                      "INSERT INTO rekening (Kode, Deskripsi, Grup, Tapel) "
                      "SELECT printf('%04d', i), printf('Penerimaan %04d %.80c', i, 'x'), 'Msk', '" + gTapel +
                          "' FROM n");
  sqlite3_close(desk);
  ASSERT_GT(std::filesystem::file_size(big), 40u * 4096);

  EXPECT_EXIT(
      {
        AllowMsgBoxes();
        CutUnderRead cut{big};
        sqlite3_trace_v2(gDb, SQLITE_TRACE_ROW, CutAfterFirstRow, &cut);
        gFormMode = "Akun";   // the import of fees lists the income accounts as it opens
        OnModal([](QWidget*) { Click(gFormImportTutupButton); });
        FORMIMPORT_Show(0, 1, 0);
        sqlite3_trace_v2(gDb, 0, nullptr, nullptr);
        int errors = 0;
        for (const platform::MsgBoxCall& box : msgBoxes()) {
          std::fprintf(stderr, "box: %s\n", box.text.c_str());
          if (box.text.rfind("SQL error: ", 0) == 0) ++errors;
        }
        std::fflush(stderr);
        AppExit(cut.cut && errors == 1 ? 0 : 2);   // the test's folders removed first
      },
      ::testing::ExitedWithCode(0), "box: SQL error: ");
  gTapel.clear();
}

TEST_F(DatabaseWindowTest, SwitchWithoutTheWindow) {
  const std::string other = MakeOtherDatabase("baru.db3");
  std::string error;
  EXPECT_FALSE(FORM12_SwitchDatabase(WorkFile("x/y.db3"), error));
  EXPECT_EQ(error, "unable to open database file");
  EXPECT_EQ(gDbPath, WorkFile("lama.db3"));
  error.clear();
  EXPECT_TRUE(FORM12_SwitchDatabase(other, error));
  EXPECT_EQ(error, "");
  EXPECT_EQ(gDbPath, other);
  EXPECT_EQ(Students(), (Rows{{"B1", "BARU"}}));
}

}  // namespace
