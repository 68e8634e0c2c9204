// The schema keeps what the windows write: texts read back unchanged, money sums as integers, the built-in super user.
#include <gtest/gtest.h>

#include "support/fixtures.h"

using fintest::Exec;
using fintest::Query;

class SchemaTest : public ::testing::Test {
 protected:
  fintest::TempDir dir;
  sqlite3* db = nullptr;
  void SetUp() override { db = fintest::CreateDatabase(dir.file("t.db3")); }
  void TearDown() override { sqlite3_close(db); }
};

TEST_F(SchemaTest, StarterDatabaseHoldsTheSuperUserOnly) {
  auto rows = Query(db, "select User, Password, Akses from useradmin");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"ketua", "5927", "111111111111"}));
  for (const char* t : {"siswa", "siswakelas", "rekening", "account", "detail_account", "transaksi", "mastergaji"})
    EXPECT_EQ(Query(db, std::string("select count(*) from ") + t)[0][0], "0") << t;
}

TEST_F(SchemaTest, CodesAndIdsReadBackUnchanged) {
  Exec(db, "insert into rekening (Kode, Deskripsi, Grup, Tapel) values ('007','Kas','Msk','2024/2025')");
  Exec(db,
       "INSERT INTO transaksi (id,tgl,uraian,acctid,siswaid,masuk,keluar,petugas,sts,jenjang,Ref) VALUES "
       "('20242025202409011230451','2024-09-01','SPP','BR-VIIA20240001','0012','150000','0','ketua','p','-','007')");
  EXPECT_EQ(Query(db, "select Kode from rekening")[0][0], "007");
  EXPECT_EQ(Query(db, "select id, siswaid, Ref from transaksi")[0],
            (std::vector<std::string>{"20242025202409011230451", "0012", "007"}));
  EXPECT_EQ(Query(db, "select substr(Id,1,22) from transaksi")[0][0], "2024202520240901123045");
}

TEST_F(SchemaTest, AmountsSumAsIntegers) {
  Exec(db, "INSERT INTO transaksi (id,masuk,keluar,sts) VALUES ('1','150000','0','p'),('2','-25000','0','p'),"
           "('3','0','40000','t')");
  auto r = Query(db, "select typeof(Sum(Masuk-Keluar)), Sum(Masuk-Keluar) from transaksi");
  EXPECT_EQ(r[0], (std::vector<std::string>{"integer", "85000"}));
}

TEST_F(SchemaTest, StudentAndClassJoinOnUnqualifiedColumns) {
  Exec(db, "insert into siswa (Id, Nama, Status, Jenjang) values ('0012','ANI','Aktif','-')");
  Exec(db, "insert into siswakelas (Kode, IdSiswa, Kelas, Kategori, Jenjang, Tapel) "
           "values ('202420250012','0012','VII A','01','-','2024/2025')");
  auto r = Query(db, "select Nama, Kelas, Kategori from siswakelas inner join siswa on IdSiswa=Id "
                     "WHERE Tapel='2024/2025' and Status='Aktif'");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_EQ(r[0], (std::vector<std::string>{"ANI", "VII A", "01"}));
}

TEST_F(SchemaTest, BillingRowTakesTheNewStudentInsertAndMonthsByPosition) {
  Exec(db, "insert into detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, oktober, "
           "nopember, desember, januari, februari, maret, april, mei, juni) values ('BR-VIIA20240001','0012',"
           "'1800000','150000','150000','150000','150000','150000','150000','150000','150000','150000','150000',"
           "'150000','150000')");
  auto r = Query(db, "SELECT * FROM detail_account");
  ASSERT_EQ(r[0].size(), 16u);
  EXPECT_EQ(r[0][4], "150000");   // juli is the fifth value
  EXPECT_EQ(Query(db, "select typeof(jml_pembayaran), juli+juni from detail_account")[0],
            (std::vector<std::string>{"integer", "300000"}));
}

TEST_F(SchemaTest, ImportDuplicateCountOnFeeCategoryRuns) {
  auto r = Query(db, "Select Count(*) From account WHERE Id='BR-VIIA20240001' and pembayaran='SPP' and kelas='VII A' "
                     "and kategori='01' and tapel='2024/2025'");
  EXPECT_EQ(r[0][0], "0");
}
