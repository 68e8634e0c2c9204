// Login against useradmin, the access string and its refusal box, the super user, and the required-data counts.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QWidget>
#include <string>

#include "app/access.h"
#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "support/fixtures.h"
#include "support/seams_fixture.h"

namespace {

class AccessTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    fintest::Exec(gDb,
                  "UPDATE useradmin SET Akses='000000000000' WHERE User='ketua';"
                  "INSERT INTO useradmin (User, Password, Akses) VALUES "
                  "('ani', 'rahasia', '101'), ('o''neil', 'pa''ss', '110000000000'), ('kosong', '1', ''),"
                  "('nol', '1', NULL);");
    gAkses = "unchanged";
    gTapel = "2024/2025";
  }
  void TearDown() override {
    sqlite3_close(gDb);
    gDb = nullptr;
  }
};

TEST_F(AccessTest, LoginTable) {
  struct Case {
    const char* user;
    const char* password;
    bool ok;
    const char* akses;
  } cases[] = {
      {"ketua", "5927", true, "111111111111"},   // whatever its row holds
      {"ani", "rahasia", true, "101"},
      {"o'neil", "pa'ss", true, "110000000000"},
      {"ani", "salah", false, "unchanged"},
      {"ketua", "' or ''='", false, "unchanged"},
      {"' or ''='", "' or ''='", false, "unchanged"},
      {"ketua' --", "x", false, "unchanged"},
      {"ani", "x' OR User='ani", false, "unchanged"},
      {"o'neil", "pa''ss", false, "unchanged"},
      {"KETUA", "5927", false, "unchanged"},
      {"kosong", "1", false, "unchanged"},   // empty Akses
      {"nol", "1", false, "unchanged"},      // NULL Akses
      {"", "", false, "unchanged"},
  };
  for (const Case& c : cases) {
    gAkses = "unchanged";
    EXPECT_EQ(AppLoginCheck(c.user, c.password), c.ok) << c.user << " / " << c.password;
    EXPECT_EQ(gAkses, c.akses) << c.user << " / " << c.password;
  }
}

TEST_F(AccessTest, SuperUserWithEmptyAksesCannotLogIn) {
  fintest::Exec(gDb, "UPDATE useradmin SET Akses='' WHERE User='ketua'");
  EXPECT_FALSE(AppLoginCheck("ketua", "5927"));
  EXPECT_EQ(gAkses, "unchanged");
}

TEST_F(AccessTest, MissingOperatorTableShowsTheErrorAndRefuses) {
  fintest::Exec(gDb, "DROP TABLE useradmin");
  ExpectMsgBox("SQL error: no such table: UserAdmin", "Info");
  EXPECT_FALSE(AppLoginCheck("ketua", "5927"));
}

TEST_F(AccessTest, WelcomeText) {
  EXPECT_EQ(AppLoginWelcomeText("ani"), "Selamat datang di Kelvora, ani diperkenankan menjalankan aplikasi ini..");
}

TEST_F(AccessTest, SchoolYearButtons) {
  struct Case {
    const char* text;
    int step;
    const char* result;
  } cases[] = {
      {"2023/2024", 1, "2024/2025"}, {"2023/2024", -1, "2022/2023"}, {"abcd", 1, "1/1"},
      {"", 1, "1/1"},                {"", -1, "-1/-1"},             {"1999/2000", 1, "2000/2001"},
  };
  for (const Case& c : cases) EXPECT_EQ(AppStepSchoolYear(c.text, c.step), c.result) << c.text;
  EXPECT_EQ(AppStepSchoolYear(AppStepSchoolYear("2030/2031", 1), -1), "2030/2031");
}

TEST_F(AccessTest, PositionsGrantedOnlyByAOne) {
  struct Case {
    const char* akses;
    int position;
    bool granted;
  } cases[] = {
      {"101", 1, true},  {"101", 2, false}, {"101", 3, true},   {"101", 4, false}, {"101", 12, false},
      {"111111111111", 12, true}, {"111111111111", 13, false}, {"111111111111", 0, false},
      {"2x1", 1, false}, {"", 1, false},
  };
  for (const Case& c : cases) EXPECT_EQ(AppHasAccess(c.akses, c.position), c.granted) << c.akses << " " << c.position;
}

TEST_F(AccessTest, RefusalBoxNamesTheOperator) {
  gAkses = "110";
  EXPECT_TRUE(AppCheckAccess(1, "ani"));
  EXPECT_TRUE(AppCheckAccess(2, "ani"));
  ExpectMsgBox("ani tidak punya akses untuk form ini..", "Info", IDOK, MB_OK);
  EXPECT_FALSE(AppCheckAccess(3, "ani"));
  ExpectMsgBox("ani tidak punya akses untuk form ini..", "Info");
  EXPECT_FALSE(AppCheckAccess(4, "ani"));
  EXPECT_EQ(AppAccessRefusalText("budi"), "budi tidak punya akses untuk form ini..");
}

TEST_F(AccessTest, OperatorComesFromTheStatusBar) {
  QWidget frame;
  Hwnd bar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, WinHandle(&frame), 9);
  ASSERT_NE(bar, 0);
  SbSetParts(bar, {50, 150, 250});
  SbSetText(bar, 1, "ani", 0);
  const Hwnd saved = gStatusBar;
  gStatusBar = bar;
  gAkses = "0";
  EXPECT_EQ(AppOperatorName(), "ani");
  ExpectMsgBox("ani tidak punya akses untuk form ini..", "Info");
  EXPECT_FALSE(AppCheckAccess(1));
  gStatusBar = saved;
}

TEST_F(AccessTest, SuperUser) {
  EXPECT_TRUE(AppIsSuperUser("ketua"));
  EXPECT_FALSE(AppIsSuperUser("Ketua"));
  EXPECT_FALSE(AppIsSuperUser("ani"));
  EXPECT_FALSE(AppIsSuperUser(""));
}

TEST_F(AccessTest, RequiredDataCounts) {
  EXPECT_EQ(AppCountMissingRequiredData(), 3);   // an empty database
  EXPECT_EQ(gCountResult, 3);

  fintest::Exec(gDb, "INSERT INTO siswa (Id, Nama) VALUES ('001', 'ANI');"
                     "INSERT INTO rekening (Kode, Tapel) VALUES ('101', '2023/2024');");
  EXPECT_EQ(AppCountMissingRequiredData(), 2);   // ledger accounts of another school year only

  fintest::Exec(gDb, "INSERT INTO rekening (Kode, Tapel) VALUES ('101', '2024/2025');"
                     "INSERT INTO account (Id, Tapel) VALUES ('BR-I20240001', '2024/2025');");
  EXPECT_EQ(AppCountMissingRequiredData(), 0);
  EXPECT_EQ(gCountResult, 0);
}

TEST_F(AccessTest, FailedCountCountsAsMissing) {
  fintest::Exec(gDb, "INSERT INTO siswa (Id) VALUES ('001');"
                     "INSERT INTO rekening (Kode, Tapel) VALUES ('101', '2024/2025');"
                     "DROP TABLE account;");
  // The statement before it found a row; its count must not stand in for the failed one.
  ExpectMsgBox("SQL error: no such table: account", "Info");
  EXPECT_EQ(AppCountMissingRequiredData(), 1);
}

TEST_F(AccessTest, SchoolYearIsQuotedInTheCounts) {
  fintest::Exec(gDb, "INSERT INTO siswa (Id) VALUES ('001');"
                     "INSERT INTO rekening (Kode, Tapel) VALUES ('101', '2024/2025');"
                     "INSERT INTO account (Id, Tapel) VALUES ('A', '2024/2025');");
  gTapel = "x' or ''='";
  EXPECT_EQ(AppCountMissingRequiredData(), 2);
}

}  // namespace
