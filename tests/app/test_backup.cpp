// Backup into the working folder and restore from a chosen file, both through SQLite's backup API.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/backup.h"
#include "app/globals.h"
#include "common/busy.h"
#include "common/database.h"
#include "support/fixtures.h"
#include "support/locked_folder.h"
#include "support/other_program.h"
#include "support/seams_fixture.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

class BackupTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDbPath = WorkFile("keu.db3");
    gDb = fintest::CreateDatabase(gDbPath);
    fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('001', 'ANI')");
    gToday = "2021-03-05";
  }
  void TearDown() override {
    sqlite3_close(gDb);
    gDb = nullptr;
  }
  static constexpr const char* kNamesSql = "select Nama from siswa order by Id";
  static Rows Names(sqlite3* db) { return fintest::Query(db, kNamesSql); }
  static Rows NamesIn(const std::string& path) { return fintest::RowsInFile(path, kNamesSql); }
  // The live database in a folder of its own, away from the working folder, holding the one student ANI.
  void UseLiveDatabaseInDataFolder() {
    sqlite3_close(gDb);
    fs::create_directory(WorkFile("data"));
    gDbPath = WorkFile("data/keu.db3");
    gDb = fintest::CreateDatabase(gDbPath);
    fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('001', 'ANI')");
  }
  // The box of a restore that succeeded: the chosen file and the safety copy of the database it replaced.
  static std::string Restored(const std::string& chosen, const std::string& safety) {
    return "Restore berhasil, database diganti dengan isi file : " + chosen + ", database sebelumnya disimpan di : " +
           safety + "..";
  }
  std::vector<std::string> WorkFiles() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(workDir())) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(BackupTest, FileNameFromToday) {
  EXPECT_EQ(AppBackupFileName(), "BackUp20210305.datakeuangan");
}

TEST_F(BackupTest, SecondBackupOfTheDayReplacesTheFirst) {
  ExpectMsgBox("File hasil backup : BackUp20210305.datakeuangan", "Info", IDOK, MB_OK);
  EXPECT_TRUE(AppBackup());
  EXPECT_EQ(NamesIn(WorkFile("BackUp20210305.datakeuangan")), (Rows{{"ANI"}}));

  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('002', 'BUDI')");
  ExpectMsgBox("File hasil backup : BackUp20210305.datakeuangan", "Info");
  EXPECT_TRUE(AppBackup());
  EXPECT_EQ(NamesIn(WorkFile("BackUp20210305.datakeuangan")), (Rows{{"ANI"}, {"BUDI"}}));
  EXPECT_EQ(WorkFiles(), (std::vector<std::string>{"BackUp20210305.datakeuangan", "keu.db3"}));
}

TEST_F(BackupTest, FailedBackupSaysSo) {
  fs::create_directory(WorkFile("BackUp20210305.datakeuangan"));
  fintest::WriteFile(WorkFile("BackUp20210305.datakeuangan/x"), "x");
  AnswerMsgBox(IDOK);
  EXPECT_FALSE(AppBackup());
  ASSERT_EQ(msgBoxes().size(), 1u);
  EXPECT_EQ(msgBoxes()[0].text.rfind("BackUp gagal, file BackUp20210305.datakeuangan tidak dapat ditulis: ", 0), 0u)
      << msgBoxes()[0].text;
  EXPECT_EQ(msgBoxes()[0].caption, "Info");
  EXPECT_FALSE(fs::exists(WorkFile("BackUp20210305.datakeuangan.partial")));
}

TEST_F(BackupTest, BackupWithoutConnectionSaysSo) {
  sqlite3* db = gDb;
  gDb = nullptr;
  AnswerMsgBox(IDOK);
  EXPECT_FALSE(AppBackup());
  ASSERT_EQ(msgBoxes().size(), 1u);
  EXPECT_EQ(msgBoxes()[0].text.rfind("BackUp gagal", 0), 0u);
  EXPECT_FALSE(fs::exists(WorkFile("BackUp20210305.datakeuangan")));
  gDb = db;
}

TEST_F(BackupTest, RoundTrip) {
  ExpectMsgBox("File hasil backup : BackUp20210305.datakeuangan", "Info");
  ASSERT_TRUE(AppBackup());
  fintest::Exec(gDb, "DELETE FROM siswa; INSERT INTO siswa (Id, Nama) VALUES ('009', 'ZED')");

  const std::string chosen = WorkFile("BackUp20210305.datakeuangan");
  ExpectMsgBox(Restored(chosen, WorkFile("keu_SebelumRestore_20240902_101530.datakeuangan")), "Info");
  EXPECT_TRUE(AppRestoreFrom(chosen));
  ASSERT_NE(gDb, nullptr);
  EXPECT_EQ(Names(gDb), (Rows{{"ANI"}}));
  EXPECT_EQ(fs::path(sqlite3_db_filename(gDb, "main")), fs::path(gDbPath));
  EXPECT_EQ(NamesIn(gDbPath), (Rows{{"ANI"}}));   // on disk, not only in the connection
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('002', 'BUDI')");   // and it stays writable
  EXPECT_EQ(NamesIn(chosen), (Rows{{"ANI"}}));   // the backup file itself is untouched
}

TEST_F(BackupTest, TheRestoredDatabaseHasTheSchemasIndexes) {
  // A backup of a school's database from before the indexes.
  const std::string older = WorkFile("lama.datakeuangan");
  fintest::CreateDatabaseWithoutIndexes(older);
  ExpectMsgBox(Restored(older, WorkFile("keu_SebelumRestore_20240902_101530.datakeuangan")), "Info");
  EXPECT_TRUE(AppRestoreFrom(older));
  EXPECT_EQ(Names(gDb), Rows{});
  EXPECT_EQ(fintest::IndexCount(gDbPath), static_cast<int>(FinIndexStatements().size()));
  EXPECT_EQ(fintest::IndexCount(older), 0);   // the chosen file itself is untouched
}

TEST_F(BackupTest, RestoreRefusesWhatIsNoDatabase) {
  fintest::WriteFile(WorkFile("junk.datakeuangan"), "this is not a database, just some text........................"
                                                   "................................................................");
  ExpectMsgBox("Restore gagal: file is not a database", "Info");
  EXPECT_FALSE(AppRestoreFrom(WorkFile("junk.datakeuangan")));
  ExpectMsgBox("Restore gagal: unable to open database file", "Info");
  EXPECT_FALSE(AppRestoreFrom(WorkFile("missing.datakeuangan")));
  ASSERT_NE(gDb, nullptr);
  EXPECT_EQ(Names(gDb), (Rows{{"ANI"}}));
}

// A Finance database of many students whose middle holds a damaged page (the first pages, with the schema, are
// whole: SQLite opens it and reads its table list).
void WriteDatabaseWithADamagedMiddle(const std::string& path) {
  sqlite3* db = fintest::CreateDatabase(path);
  fintest::Exec(db,
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
                "INSERT INTO siswa (Id, Nama, Alamat) SELECT printf('%05d', i), 'SISWA ' || i, "
                "'Jalan Mawar nomor ' || i || ' RT 01 RW 02 Kelurahan Sukamaju Kecamatan Sukajadi' FROM n");
  sqlite3_close(db);
  std::string bytes = fintest::ReadFile(path);
  const std::size_t page = (static_cast<unsigned char>(bytes[16]) << 8) | static_cast<unsigned char>(bytes[17]);
  const std::size_t pages = bytes.size() / page;
  ASSERT_GT(pages, 20u);
  const std::size_t victim = pages * 3 / 4;   // one of the students' pages
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(victim * page),
            bytes.begin() + static_cast<std::ptrdiff_t>((victim + 1) * page), '\x5A');
  fintest::WriteFile(path, bytes);
}

TEST_F(BackupTest, RestoreRefusesWhatIsNoSoundFinanceDatabaseAndTouchesNothing) {
  fs::create_directory(WorkFile("pilihan"));
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    std::string reason;   // empty: any reason
  };
  const Case cases[] = {
      {"kosong", [](const std::string& p) { fintest::WriteFile(p, ""); },
       "bukan database keuangan, tabel siswa tidak ada"},
      {"asing", [](const std::string& p) { fintest::WriteForeignDatabase(p); },
       "bukan database keuangan, tabel siswa tidak ada"},
      {"tanpa-operator", [](const std::string& p) { fintest::WriteAlteredDatabase(p, "DROP TABLE useradmin"); },
       "bukan database keuangan, tabel useradmin tidak ada"},
      {"tanpa-gaji", [](const std::string& p) { fintest::WriteAlteredDatabase(p, "DROP TABLE mastergaji"); },
       "bukan database keuangan, tabel mastergaji tidak ada"},
      {"tanpa-masuk", [](const std::string& p) { fintest::WriteAlteredDatabase(p, fintest::kMoneyWithoutMasuk); },
       "bukan database keuangan, kolom transaksi.masuk tidak ada"},
      {"rusak", WriteDatabaseWithADamagedMiddle, ""},
  };
  const std::string liveBefore = fintest::ReadFile(gDbPath);
  for (const Case& c : cases) {
    const std::string path = WorkFile(std::string("pilihan/") + c.name + ".datakeuangan");
    c.make(path);
    AnswerMsgBox(IDOK);
    EXPECT_FALSE(AppRestoreFrom(path)) << c.name;
    ASSERT_FALSE(msgBoxes().empty());
    const std::string text = msgBoxes().back().text;
    if (c.reason.empty())
      EXPECT_EQ(text.rfind("Restore gagal: ", 0), 0u) << c.name << ": " << text;
    else
      EXPECT_EQ(text, "Restore gagal: " + c.reason) << c.name;
    EXPECT_EQ(msgBoxes().back().caption, "Info");
    // The live file is as it was, whole, and the connection still works on it.
    EXPECT_EQ(fintest::ReadFile(gDbPath), liveBefore) << c.name;
    EXPECT_EQ(fintest::Query(gDb, "PRAGMA integrity_check"), (Rows{{"ok"}})) << c.name;
    EXPECT_EQ(Names(gDb), (Rows{{"ANI"}})) << c.name;
  }
  EXPECT_EQ(msgBoxes().size(), std::size(cases));
  EXPECT_EQ(WorkFiles(), (std::vector<std::string>{"keu.db3", "pilihan"}));   // no safety copy either
}

TEST_F(BackupTest, RestoreKeepsTheLiveDatabaseBesideItFirst) {
  UseLiveDatabaseInDataFolder();
  const std::string other = WorkFile("other.datakeuangan");
  sqlite3* db = fintest::CreateDatabase(other);
  fintest::Exec(db, "INSERT INTO siswa (Id, Nama) VALUES ('007', 'TUJUH')");
  sqlite3_close(db);

  const std::string safety = WorkFile("data/keu_SebelumRestore_20240902_101530.datakeuangan");
  ExpectMsgBox(Restored(other, safety), "Info", IDOK, MB_OK);
  EXPECT_TRUE(AppRestoreFrom(other));
  EXPECT_EQ(Names(gDb), (Rows{{"TUJUH"}}));
  EXPECT_EQ(NamesIn(safety), (Rows{{"ANI"}}));

  // The wrong restore is undone from the safety copy; that restore keeps a copy of its own, named apart.
  const std::string second = WorkFile("data/keu_SebelumRestore_20240902_101530_2.datakeuangan");
  ExpectMsgBox(Restored(safety, second), "Info");
  EXPECT_TRUE(AppRestoreFrom(safety));
  EXPECT_EQ(Names(gDb), (Rows{{"ANI"}}));
  EXPECT_EQ(NamesIn(second), (Rows{{"TUJUH"}}));
  EXPECT_EQ(NamesIn(safety), (Rows{{"ANI"}}));
}

TEST_F(BackupTest, RestoreWithoutRoomForTheSafetyCopyChangesNothing) {
  UseLiveDatabaseInDataFolder();
  const std::string other = WorkFile("other.datakeuangan");
  sqlite3_close(fintest::CreateDatabase(other));
  const std::string liveBefore = fintest::ReadFile(gDbPath);
  {
    fintest::LockedFolder lock(WorkFile("data"));
    if (!lock.locked()) GTEST_SKIP() << "no folder can be locked here";
    AnswerMsgBox(IDOK);
    EXPECT_FALSE(AppRestoreFrom(other));
  }
  ASSERT_EQ(msgBoxes().size(), 1u);
  EXPECT_EQ(msgBoxes()[0].text.rfind("Restore gagal: salinan database " +
                                         WorkFile("data/keu_SebelumRestore_20240902_101530.datakeuangan") +
                                         " tidak dapat ditulis: ",
                                     0),
            0u)
      << msgBoxes()[0].text;
  EXPECT_EQ(fintest::ReadFile(gDbPath), liveBefore);
  EXPECT_EQ(Names(gDb), (Rows{{"ANI"}}));
}

TEST_F(BackupTest, ARestoredFileInWriteAheadLogModeIsBackInTheRollbackJournal) {
  const std::string other = WorkFile("wal.datakeuangan");
  sqlite3* db = fintest::CreateDatabase(other);
  fintest::Exec(db, "PRAGMA journal_mode=WAL; INSERT INTO siswa (Id, Nama) VALUES ('007', 'TUJUH')");
  sqlite3_close(db);
  ASSERT_EQ(fintest::ReadFile(other)[18], 2);   // the file's header: write-ahead log

  ExpectMsgBox(Restored(other, WorkFile("keu_SebelumRestore_20240902_101530.datakeuangan")), "Info");
  ASSERT_TRUE(AppRestoreFrom(other));
  EXPECT_EQ(fintest::Query(gDb, "PRAGMA journal_mode"), (Rows{{"delete"}}));
  // A payment after the restore lands in the database file itself, never in a -wal file beside it.
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('008', 'DELAPAN')");
  EXPECT_FALSE(fs::exists(gDbPath + "-wal"));
  EXPECT_EQ(fintest::ReadFile(gDbPath)[18], 1);
  sqlite3_close(gDb);
  gDb = nullptr;
  EXPECT_EQ(NamesIn(gDbPath), (Rows{{"TUJUH"}, {"DELAPAN"}}));
}

TEST_F(BackupTest, ALiveDatabaseThatCannotBeOpenedAgainIsKeptAndTheOperatorTold) {
  UseLiveDatabaseInDataFolder();
  const std::string other = WorkFile("other.datakeuangan");
  sqlite3* db = fintest::CreateDatabase(other);
  fintest::Exec(db, "INSERT INTO siswa (Id, Nama) VALUES ('007', 'TUJUH')");
  sqlite3_close(db);
  // The database file is moved away under the running program: its name opens nothing any more.
  const std::string moved = WorkFile("data/pindah.db3");
  fs::rename(gDbPath, moved);

  ExpectMsgBox("Restore gagal: database " + gDbPath + " tidak dapat dibuka lagi: unable to open database file", "Info");
  EXPECT_FALSE(AppRestoreFrom(other));
  // The program goes on with the connection it had, on the file it had (SQLite itself refuses to write into a file
  // moved under it, but it still reads), and the moved file is as it was.
  ASSERT_NE(gDb, nullptr);
  EXPECT_EQ(Names(gDb), (Rows{{"ANI"}}));
  EXPECT_EQ(NamesIn(moved), (Rows{{"ANI"}}));
  EXPECT_FALSE(fs::exists(gDbPath));   // no new file was made in its place
}

TEST_F(BackupTest, ABackupNeverReplacesTheLiveDatabaseThatCarriesItsName) {
  // The connection window took today's backup file as the database to work on.
  sqlite3_close(gDb);
  gDbPath = WorkFile("BackUp20210305.datakeuangan");
  gDb = fintest::CreateDatabase(gDbPath);
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('001', 'ANI')");

  ExpectMsgBox("File hasil backup : BackUp20210305_2.datakeuangan", "Info", IDOK, MB_OK);
  EXPECT_TRUE(AppBackup());
  EXPECT_EQ(NamesIn(WorkFile("BackUp20210305_2.datakeuangan")), (Rows{{"ANI"}}));
  // The database at work is the same file as before and still takes rows.
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('002', 'BUDI')");
  EXPECT_EQ(NamesIn(gDbPath), (Rows{{"ANI"}, {"BUDI"}}));

  // A second backup of the day replaces the first one under the same other name.
  ExpectMsgBox("File hasil backup : BackUp20210305_2.datakeuangan", "Info", IDOK, MB_OK);
  EXPECT_TRUE(AppBackup());
  EXPECT_EQ(NamesIn(WorkFile("BackUp20210305_2.datakeuangan")), (Rows{{"ANI"}, {"BUDI"}}));
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('003', 'CICI')");
  EXPECT_EQ(NamesIn(gDbPath), (Rows{{"ANI"}, {"BUDI"}, {"CICI"}}));
  EXPECT_EQ(WorkFiles(), (std::vector<std::string>{"BackUp20210305.datakeuangan", "BackUp20210305_2.datakeuangan",
                                                   "keu.db3"}));
}

TEST_F(BackupTest, RestoreOfTheDatabaseItself) {
  ExpectMsgBox("Restore berhasil, database diganti dengan isi file : " + gDbPath, "Info");
  EXPECT_TRUE(AppRestoreFrom(gDbPath));
  EXPECT_EQ(Names(gDb), (Rows{{"ANI"}}));
}

TEST_F(BackupTest, RestoreCommandAsksForTheFile) {
  CancelFileDialog();
  EXPECT_FALSE(AppRestore(0));
  ASSERT_EQ(fileDialogs().size(), 1u);
  const platform::FileDialogRequest& r = fileDialogs()[0].request;
  EXPECT_EQ(r.kind, platform::FileDialogRequest::Open);
  EXPECT_EQ(r.title, "Cari dan Pili File Excel");
  EXPECT_EQ(r.fileName, "");
  EXPECT_EQ(fs::path(r.folder), fs::path(workDir()));
  EXPECT_EQ(r.filter, "Excel files (*.datakeuangan)|*.datakeuangan|All Files (*.*)|*.*");
  EXPECT_TRUE(msgBoxes().empty());

  sqlite3* other = fintest::CreateDatabase(WorkFile("other.datakeuangan"));
  fintest::Exec(other, "INSERT INTO siswa (Id, Nama) VALUES ('007', 'TUJUH')");
  sqlite3_close(other);
  AnswerFileDialog(WorkFile("other.datakeuangan"));
  ExpectMsgBox(Restored(WorkFile("other.datakeuangan"), WorkFile("keu_SebelumRestore_20240902_101530.datakeuangan")),
               "Info");
  EXPECT_TRUE(AppRestore(0));
  EXPECT_EQ(Names(gDb), (Rows{{"TUJUH"}}));
}

// A backup or a restore asked for while the same one runs (from a box of the first) is refused and touches nothing.
TEST_F(BackupTest, BackupAndRestoreAreNotStartedTwice) {
  {
    FinBusy running(FinBusyTask::Backup, false);
    ExpectMsgBox(kFinBusyRefusal, "Info", IDOK, MB_OK);
    EXPECT_FALSE(AppBackup());
    VerifySeams();
  }
  EXPECT_EQ(WorkFiles(), (std::vector<std::string>{"keu.db3"}));

  const std::string chosen = WorkFile("pilihan.db3");
  sqlite3_close(fintest::CreateDatabase(chosen));
  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('002', 'BUDI')");
  {
    FinBusy running(FinBusyTask::Restore, false);
    ExpectMsgBox(kFinBusyRefusal, "Info", IDOK, MB_OK);
    EXPECT_FALSE(AppRestoreFrom(chosen));
    VerifySeams();
  }
  EXPECT_EQ(WorkFiles(), (std::vector<std::string>{"keu.db3", "pilihan.db3"}));
  EXPECT_EQ(NamesIn(gDbPath), (Rows{{"ANI"}, {"BUDI"}}));
  // Once it has ended, the next one runs.
  ExpectMsgBox("File hasil backup : BackUp20210305.datakeuangan", "Info");
  EXPECT_TRUE(AppBackup());
}

}  // namespace
