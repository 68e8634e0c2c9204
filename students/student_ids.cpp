#include "students/student_ids.h"

#include "common/sql.h"

std::string FinStudentMoneyRowsSql(const std::string& id) {
  const std::string q = SqlQ(id);
  return "Select (Select Count(*) From transaksi WHERE SiswaId='" + q +
         "')+(Select Count(*) From detail_account WHERE id_siswa='" + q + "')";
}

std::string FinStudentIdsHaveMoneyText(const std::vector<std::string>& ids) {
  std::string joined;
  for (const std::string& id : ids) joined += (joined.empty() ? "" : ", ") + id;
  return "Gagal menyimpan, Id/Kode " + joined +
         " masih tercatat di data pembayaran, tabungan atau tagihan siswa lama, gunakan Id/Kode yang lain..";
}
