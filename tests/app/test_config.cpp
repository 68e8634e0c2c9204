// Start-up state and the configuration files conn.txt, setting_struk.txt and sekolah.txt.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/globals.h"
#include "common/database.h"
#include "platform/scripted_seams.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

using fintest::ReadFile;
using fintest::WriteFile;

class ConfigTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDbPath = "old";
    gConnField2 = gConnField3 = "old";
    gStrukTopMargin = gStrukLineSpacing = gStrukDefaultType = gPrepaid = -7;
    gStrukFont = "old";
    gSchoolName = gSchoolAddress = gSchoolPhone = gSchoolEmail = "old";
  }
  void TearDown() override {
    if (gDb) sqlite3_close(gDb);
    gDb = nullptr;
  }
  void ExpectStruk(int top, int spacing, int type, const std::string& font, int prepaid) {
    EXPECT_EQ(gStrukTopMargin, top);
    EXPECT_EQ(gStrukLineSpacing, spacing);
    EXPECT_EQ(gStrukDefaultType, type);
    EXPECT_EQ(gStrukFont, font);
    EXPECT_EQ(gPrepaid, prepaid);
  }
};

TEST_F(ConfigTest, ConnFileLastLineAndFields) {
  struct Case {
    const char* file;
    const char* path;
    const char* f2;
    const char* f3;
  } cases[] = {
      {"first.db3;a;b\r\nsecond.db3;c;d\r\n", "second.db3", "c", "d"},
      {"data.db3;-;-\r\n", "data.db3", "", ""},
      {"data.db3;-;x", "data.db3", "", "x"},
      {"/srv/keu/data.db3\r\n", "/srv/keu/data.db3", "/srv/keu/data.db3", "/srv/keu/data.db3"},
      {"data.db3;a;b\r\n\r\n", "", "", ""},   // a blank last line counts
      {"", "", "", ""},
      {"data.db3;a;b\n", "data.db3", "a", "b"},
      {"D:\\keu\\data.db3;a;b\r\n", "D:/keu/data.db3", "a", "b"},
      {"\xEF\xBB\xBF" "data.db3;a;b\r\n", "data.db3", "a", "b"},
      // A path holding ";" stands between double quotes, a quote inside it doubled.
      {"\"D:\\keu;lama\\data.db3\";a;b\r\n", "D:/keu;lama/data.db3", "a", "b"},
      {"\"/srv/a;b/\"\"x\"\".db3\";-;-\r\n", "/srv/a;b/\"x\".db3", "", ""},
      {"\"/srv/a;b.db3\";;\r\n", "/srv/a;b.db3", "", ""},
      {"\"/srv/a;b.db3\"\r\n", "/srv/a;b.db3", "", ""},
      {"\"unclosed;a;b\r\n", "\"unclosed", "a", "b"},   // no closing quote: read as written
  };
  for (const Case& c : cases) {
    WriteFile(WorkFile("conn.txt"), c.file);
    AppReadConnFile();
    EXPECT_EQ(gDbPath, c.path) << c.file;
    EXPECT_EQ(gConnField2, c.f2) << c.file;
    EXPECT_EQ(gConnField3, c.f3) << c.file;
  }
}

TEST_F(ConfigTest, MissingConnFileGivesEmptyTexts) {
  AppReadConnFile();
  EXPECT_EQ(gDbPath, "");
  EXPECT_EQ(gConnField2, "");
  EXPECT_EQ(gConnField3, "");
}

TEST_F(ConfigTest, ConnFileWrittenIntoTheProgramFolder) {
  EXPECT_TRUE(AppWriteConnFile("/data/sekolah.db3", "", ""));
  EXPECT_EQ(ReadFile(ProgramFile("conn.txt")), "/data/sekolah.db3;;\r\n");
  EXPECT_TRUE(AppWriteConnFile("a.db3", "x", "y"));
  EXPECT_EQ(ReadFile(ProgramFile("conn.txt")), "a.db3;x;y\r\n");
  EXPECT_FALSE(std::filesystem::exists(WorkFile("conn.txt")));
}

TEST_F(ConfigTest, APathHoldingASemicolonIsWrittenSoThatItReadsBackWhole) {
  struct Case {
    const char* path;
    const char* line;
  } cases[] = {
      {"/data/keu;2024/sekolah.db3", "\"/data/keu;2024/sekolah.db3\";x;\r\n"},
      {"/data/\"a\";b.db3", "\"/data/\"\"a\"\";b.db3\";x;\r\n"},
      {"\"quoted.db3", "\"\"\"quoted.db3\";x;\r\n"},
      {"/data/plain.db3", "/data/plain.db3;x;\r\n"},   // as every file written before
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(AppWriteConnFile(c.path, "x", ""));
    EXPECT_EQ(ReadFile(ProgramFile("conn.txt")), c.line);
    std::filesystem::copy_file(ProgramFile("conn.txt"), WorkFile("conn.txt"),
                               std::filesystem::copy_options::overwrite_existing);
    AppReadConnFile();
    EXPECT_EQ(gDbPath, c.path);
    EXPECT_EQ(gConnField2, "x");
    EXPECT_EQ(gConnField3, "");
  }
}

TEST_F(ConfigTest, TheNextStartOpensTheDatabaseWhosePathHoldsASemicolon) {
  ThrowOnExit();
  std::filesystem::create_directory(WorkFile("tahun;2024"));
  const std::string path = WorkFile("tahun;2024/keu.db3");
  sqlite3_close(fintest::CreateDatabase(path));
  ASSERT_TRUE(AppWriteConnFile(path, "", ""));   // what the database connection window writes
  std::filesystem::copy_file(ProgramFile("conn.txt"), WorkFile("conn.txt"));
  AppInitRun();
  EXPECT_EQ(gDbPath, path);
  ASSERT_NE(gDb, nullptr);
  EXPECT_EQ(std::filesystem::path(sqlite3_db_filename(gDb, "main")), std::filesystem::path(path));
  EXPECT_TRUE(exits().empty());
}

TEST_F(ConfigTest, StartUpGivesTheDatabaseTheSchemasIndexes) {
  ThrowOnExit();
  const std::string path = WorkFile("keu.db3");
  fintest::CreateDatabaseWithoutIndexes(path);
  WriteFile(WorkFile("conn.txt"), path + ";-;-\r\n");
  AppInitRun();
  ASSERT_NE(gDb, nullptr);
  EXPECT_EQ(fintest::IndexCount(path), static_cast<int>(FinIndexStatements().size()));
  EXPECT_TRUE(exits().empty());
}

TEST_F(ConfigTest, TheDatabaseChosenInTheConnectionWindowIsTheOneTheNextStartOpens) {
  ThrowOnExit();
  const std::string old = WorkFile("lama.db3");
  const std::string chosen = WorkFile("baru.db3");
  sqlite3_close(fintest::CreateDatabase(old));
  sqlite3_close(fintest::CreateDatabase(chosen));
  WriteFile(WorkFile("conn.txt"), old + ";-;-\r\n");   // the working folder's own, older file
  AppInitRun();
  EXPECT_EQ(gDbPath, old);
  sqlite3_close(gDb);
  gDb = nullptr;

  ASSERT_TRUE(AppWriteConnFile(chosen, "", ""));   // what the database connection window writes
  AppInitRun();                                      // the next start
  EXPECT_EQ(gDbPath, chosen);
  ASSERT_NE(gDb, nullptr);
  EXPECT_EQ(std::filesystem::path(sqlite3_db_filename(gDb, "main")), std::filesystem::path(chosen));
  EXPECT_EQ(ReadFile(WorkFile("conn.txt")), old + ";-;-\r\n");   // left as it was
  EXPECT_TRUE(exits().empty());
}

TEST_F(ConfigTest, StartUpWithoutAUsableConnFileSaysSoAndCreatesNothing) {
  ThrowOnExit();
  struct Case {
    const char* what;
    std::optional<std::string> conn;   // nothing: no conn.txt at all
  } const cases[] = {
      {"no conn.txt", std::nullopt},
      {"empty conn.txt", std::string()},
      {"blank last line", std::string("keu.db3;-;-\r\n\r\n")},
      {"a file that does not exist", std::string("baru.db3;-;-\r\n")},
  };
  int n = 0;
  for (const Case& c : cases) {
    std::filesystem::remove(WorkFile("conn.txt"));
    if (c.conn) WriteFile(WorkFile("conn.txt"), *c.conn);
    ExpectMsgBox("Tidak dapat membuka database: unable to open database file", "Info", IDOK, MB_OK);
    EXPECT_THROW(AppInitRun(), platform::ExitCalled) << c.what;
    EXPECT_EQ(exits().size(), static_cast<std::size_t>(++n)) << c.what;
    EXPECT_EQ(exits().back(), 1) << c.what;
    EXPECT_EQ(gDb, nullptr) << c.what;
  }
  // Only conn.txt stands in the working folder: no database file was made.
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(workDir())) files.push_back(e.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"conn.txt"});
}

TEST_F(ConfigTest, StartUpRefusesAFileThatIsNoFinanceDatabase) {
  // The file named in conn.txt exists but holds no Finance database: start-up says so and ends, as the connection
  // window refuses such a file, instead of a login that fails on a missing operator table.
  ThrowOnExit();
  struct Case {
    const char* name;
    void (*make)(const std::string& path);
    std::string reason;
  } const cases[] = {
      {"kosong.db3", [](const std::string& p) { WriteFile(p, ""); }, "bukan database keuangan, tabel siswa tidak ada"},
      {"asing.db3", [](const std::string& p) { fintest::WriteForeignDatabase(p); },
       "bukan database keuangan, tabel siswa tidak ada"},
      {"tanpa-gaji.db3", [](const std::string& p) { fintest::WriteAlteredDatabase(p, "DROP TABLE mastergaji"); },
       "bukan database keuangan, tabel mastergaji tidak ada"},
  };
  int n = 0;
  for (const Case& c : cases) {
    const std::string path = WorkFile(c.name);
    c.make(path);
    const std::string before = ReadFile(path);
    WriteFile(WorkFile("conn.txt"), path + ";-;-\r\n");
    ExpectMsgBox("Tidak dapat membuka database: " + c.reason, "Info", IDOK, MB_OK);
    EXPECT_THROW(AppInitRun(), platform::ExitCalled) << c.name;
    EXPECT_EQ(exits().size(), static_cast<std::size_t>(++n)) << c.name;
    EXPECT_EQ(exits().back(), 1) << c.name;
    EXPECT_EQ(gDb, nullptr) << c.name;
    EXPECT_EQ(ReadFile(path), before) << c.name;   // looked at, never written
  }
}

TEST_F(ConfigTest, StartUpReturnsADatabaseInWriteAheadLogModeToTheRollbackJournal) {
  ThrowOnExit();
  const std::string path = WorkFile("keu.db3");
  sqlite3* db = fintest::CreateDatabase(path);
  fintest::Exec(db, "PRAGMA journal_mode=WAL; INSERT INTO siswa (Id, Nama) VALUES ('001', 'ANI')");
  sqlite3_close(db);
  ASSERT_EQ(ReadFile(path)[18], 2);   // the file's header: write-ahead log
  WriteFile(WorkFile("conn.txt"), path + ";-;-\r\n");
  AppInitRun();
  ASSERT_NE(gDb, nullptr);
  EXPECT_EQ(fintest::Query(gDb, "PRAGMA journal_mode"), (std::vector<std::vector<std::string>>{{"delete"}}));
  EXPECT_EQ(ReadFile(path)[18], 1);   // rollback journal, in the file itself
  EXPECT_FALSE(std::filesystem::exists(path + "-wal"));
  EXPECT_EQ(fintest::Query(gDb, "SELECT Nama FROM siswa"), (std::vector<std::vector<std::string>>{{"ANI"}}));
  EXPECT_TRUE(exits().empty());
}

TEST_F(ConfigTest, StrukFieldsReadAsRoundedNumbers) {
  struct Case {
    const char* line;
    int top, spacing, type;
    const char* font;
    int prepaid;
  } cases[] = {
      {"15;150;0;Courier New;0", 15, 150, 0, "Courier New", 0},
      {"12.5;13.5;2.5;Arial;1", 12, 14, 2, "Arial", 1},
      {"abc;150x;-1;Lucida Console;1.5", 0, 150, -1, "Lucida Console", 2},
      {"", 0, 0, 0, "", 0},
      {"20", 20, 20, 20, "20", 20},   // a missing field is the whole line
  };
  for (const Case& c : cases) {
    AppParseStrukLine(c.line);
    ExpectStruk(c.top, c.spacing, c.type, c.font, c.prepaid);
  }
}

TEST_F(ConfigTest, StrukFileOfTheWorkingFolderLastLineCounts) {
  WriteFile(WorkFile("setting_struk.txt"), "10;100;1;Arial;0\r\n12.5;13.5;3;Courier New;1\r\n");
  AppReadStrukSettings();
  ExpectStruk(12, 14, 3, "Courier New", 1);
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("setting_struk.txt")));
}

TEST_F(ConfigTest, StrukFileWithoutLinesGivesZeros) {
  WriteFile(WorkFile("setting_struk.txt"), "");
  AppReadStrukSettings();
  ExpectStruk(0, 0, 0, "", 0);
  EXPECT_FALSE(std::filesystem::exists(ProgramFile("setting_struk.txt")));
}

TEST_F(ConfigTest, MissingStrukFileIsCreatedWithTheDefaults) {
  AppReadStrukSettings();
  ExpectStruk(15, 150, 0, "Courier New", 0);
  EXPECT_EQ(ReadFile(ProgramFile("setting_struk.txt")), "15;150;0;Courier New;0\r\n");

  // The next start reads the same values back (here from the program folder, the working folder having none).
  gStrukTopMargin = -1;
  gStrukFont.clear();
  AppReadStrukSettings();
  ExpectStruk(15, 150, 0, "Courier New", 0);
}

TEST_F(ConfigTest, ProgramFolderFileIsNotOverwritten) {
  WriteFile(ProgramFile("setting_struk.txt"), "20;160;2;Arial;1\r\n");
  AppReadStrukSettings();
  ExpectStruk(20, 160, 2, "Arial", 1);
  EXPECT_EQ(ReadFile(ProgramFile("setting_struk.txt")), "20;160;2;Arial;1\r\n");
}

TEST_F(ConfigTest, SettingsAreReadFromTheFileTheyAreWrittenTo) {
  // A working folder that holds an older settings file of its own.
  WriteFile(WorkFile("setting_struk.txt"), "15;150;0;Courier New;0\r\n");
  AppReadStrukSettings();
  ExpectStruk(15, 150, 0, "Courier New", 0);

  AppSetPrepaid(1);                             // "Prabayar"
  AppReadStrukSettings();                       // the next start
  ExpectStruk(15, 150, 0, "Courier New", 1);
  AppWriteStrukLine("20;160;3;Lucida Console;1");   // the receipt settings window
  AppReadStrukSettings();
  ExpectStruk(20, 160, 3, "Lucida Console", 1);
  EXPECT_EQ(ReadFile(WorkFile("setting_struk.txt")), "15;150;0;Courier New;0\r\n");   // left as it was
}

TEST_F(ConfigTest, PrepaidChoiceWritesTheWholeLine) {
  AppParseStrukLine("15;150;4;Courier New;0");
  EXPECT_TRUE(AppWriteStrukSettings(1));
  EXPECT_EQ(ReadFile(ProgramFile("setting_struk.txt")), "15;150;4;Courier New;1\r\n");
  EXPECT_EQ(gPrepaid, 0);   // the caller sets the global
  EXPECT_TRUE(AppWriteStrukLine("12;140;-1;Arial;0"));
  EXPECT_EQ(ReadFile(ProgramFile("setting_struk.txt")), "12;140;-1;Arial;0\r\n");

  // "Prabayar", then a restart: the run starts in prepaid mode.
  AppParseStrukLine("15;150;0;Courier New;0");
  AppSetPrepaid(1);
  EXPECT_EQ(gPrepaid, 1);
  EXPECT_EQ(ReadFile(ProgramFile("setting_struk.txt")), "15;150;0;Courier New;1\r\n");
  gPrepaid = 0;
  WriteFile(WorkFile("setting_struk.txt"), ReadFile(ProgramFile("setting_struk.txt")));
  AppReadStrukSettings();
  EXPECT_EQ(gPrepaid, 1);
}

TEST_F(ConfigTest, SchoolYearTurnsOnTheFirstOfJuly) {
  struct Case {
    int y, m, d;
    const char* tapel;
  } cases[] = {
      {2021, 6, 30, "2020/2021"}, {2021, 7, 1, "2021/2022"}, {2021, 3, 5, "2020/2021"},
      {2021, 12, 31, "2021/2022"}, {2022, 1, 1, "2021/2022"},
  };
  for (const Case& c : cases) {
    SetClock(c.y, c.m, c.d, 23, 59, 59);
    AppSetSchoolYearFromToday();
    EXPECT_EQ(gTapel, c.tapel) << c.y << "-" << c.m << "-" << c.d;
  }
  EXPECT_EQ(AppSchoolYearOf(2000, 1), "1999/2000");
}

TEST_F(ConfigTest, TodayAndPeriodTexts) {
  SetClock(2021, 3, 5);
  EXPECT_EQ(AppTodayText(), "2021-03-05");
  gTapel = "2021/2022";
  EXPECT_EQ(AppPeriodText(1), "Setting Laporan Sekarang : Bulan Januari Tahun 2022");
  EXPECT_EQ(AppPeriodText(6), "Setting Laporan Sekarang : Bulan Juni Tahun 2022");
  EXPECT_EQ(AppPeriodText(7), "Setting Laporan Sekarang : Bulan Juli Tahun 2021");
  EXPECT_EQ(AppPeriodText(10), "Setting Laporan Sekarang : Bulan Oktober Tahun 2021");
}

TEST_F(ConfigTest, MonthNamesInSchoolYearOrder) {
  AppInitMonthNames();
  ASSERT_EQ(gMonthNames.size(), 13u);
  EXPECT_EQ(gMonthNames[0], "");
  EXPECT_EQ(gMonthNames[1], "Juli");
  EXPECT_EQ(gMonthNames[5], "Nopember");
  EXPECT_EQ(gMonthNames[7], "Januari");
  EXPECT_EQ(gMonthNames[12], "Juni");
}

TEST_F(ConfigTest, SchoolFileIsOneInputItem) {
  struct Case {
    const char* file;
    const char* name;
    const char* address;
    const char* phone;
    const char* email;
  } cases[] = {
      {"SD Harapan;Jl. Merdeka 5;0271-123;sd@harapan.sch.id\r\nsecond line\r\n", "SD Harapan", "Jl. Merdeka 5",
       "0271-123", "sd@harapan.sch.id"},
      // an unquoted comma ends the item: phone and e-mail are missing fields, which read as the whole item
      {"SD Harapan;Jl. Merdeka 5, Solo;0271-123;sd@x.id\r\n", "SD Harapan", "Jl. Merdeka 5",
       "SD Harapan;Jl. Merdeka 5", "SD Harapan;Jl. Merdeka 5"},
      {"\"SD Harapan;Jl. Merdeka 5, Solo;0271-123;sd@x.id\"\r\n", "SD Harapan", "Jl. Merdeka 5, Solo", "0271-123",
       "sd@x.id"},
      {" \t SD A;B;C;D", "SD A", "B", "C", "D"},
      {"", "", "", "", ""},
      {"\r\nSD A;B;C;D\r\n", "", "", "", ""},
  };
  for (const Case& c : cases) {
    WriteFile(WorkFile("sekolah.txt"), c.file);
    AppReadSchoolFile();
    EXPECT_EQ(gSchoolName, c.name) << c.file;
    EXPECT_EQ(gSchoolAddress, c.address) << c.file;
    EXPECT_EQ(gSchoolPhone, c.phone) << c.file;
    EXPECT_EQ(gSchoolEmail, c.email) << c.file;
  }
}

TEST_F(ConfigTest, MissingSchoolFileGivesEmptyTexts) {
  AppReadSchoolFile();
  EXPECT_EQ(gSchoolName, "");
  EXPECT_EQ(gSchoolAddress, "");
  EXPECT_EQ(gSchoolPhone, "");
  EXPECT_EQ(gSchoolEmail, "");
}

TEST_F(ConfigTest, InputItemIsCutAt4096BytesOnACharacterBoundary) {
  std::string longText(4095, 'a');
  longText += "\xC3\xA9xyz";   // a two-byte character straddling the limit
  EXPECT_EQ(AppReadInputItem(longText), std::string(4095, 'a'));
  EXPECT_EQ(AppReadInputItem(std::string(5000, 'b')).size(), 4096u);
  EXPECT_EQ(AppReadInputItem("\"unclosed, item"), "unclosed, item");
}

TEST_F(ConfigTest, StartUpPreparesTheRun) {
  sqlite3* db = fintest::CreateDatabase(WorkFile("keu.db3"));
  sqlite3_close(db);
  WriteFile(WorkFile("conn.txt"), WorkFile("keu.db3") + ";-;-\r\n");
  SetClock(2024, 6, 30, 8, 0, 0);
  gPrinterKind = 3;
  AppInitRun();
  EXPECT_EQ(gPrinterKind, 0);
  EXPECT_EQ(gTapel, "2023/2024");
  EXPECT_EQ(gDbPath, WorkFile("keu.db3"));
  ASSERT_NE(gDb, nullptr);
  EXPECT_EQ(fintest::Query(gDb, "select User from useradmin")[0][0], "ketua");
  ExpectStruk(15, 150, 0, "Courier New", 0);
  EXPECT_EQ(gMonthNames.size(), 13u);
}

TEST_F(ConfigTest, DatabaseThatCannotBeOpenedEndsTheRun) {
  ThrowOnExit();
  gDbPath = WorkFile("no-such-folder/keu.db3");
  ExpectMsgBox("Tidak dapat membuka database: unable to open database file", "Info", IDOK, MB_OK);
  EXPECT_THROW(AppOpenDatabase(), platform::ExitCalled);
  EXPECT_EQ(exits(), std::vector<int>{1});
  EXPECT_EQ(gDb, nullptr);
  EXPECT_EQ(msgBoxes().size(), 1u);
}

TEST_F(ConfigTest, DatabaseThatCannotBeOpenedExitsWithCodeOne) {
  gDbPath = WorkFile("no-such-folder/keu.db3");
  AllowMsgBoxes();
  EXPECT_EXIT(AppOpenDatabase(), ::testing::ExitedWithCode(1), "");
}

}  // namespace
