#include "accounts/fee_rules.h"

#include <set>
#include <string>

#include "common/globals.h"
#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/numbers.h"

const std::array<const char*, 12> kFinMonthColumns = {"juli",     "agustus", "september", "oktober",
                                                      "nopember", "desember", "januari",  "februari",
                                                      "maret",    "april",   "mei",       "juni"};

const char* const kFinNextFeeNumberSql =
    "Select substr(id, -4) From account Order by substr(id, -4) Desc LIMIT 0,1";

long long FinFeeAmount(const std::string& text) { return RoundHalfEven(Val(text)); }

FinBilling FinFeeBilling(const std::string& type, long long amount) {
  FinBilling b;
  if (type == "Pertahun") {
    b.total = amount;
    b.months.fill(0);
  } else {
    b.total = 12 * amount;
    b.months.fill(amount);
  }
  return b;
}

std::string FinFeeSuffix(long long n) {
  const std::string s = "0000" + std::to_string(n);
  return s.substr(s.size() - 4);
}

std::string FinFeeClassKey(const std::string& kelas) {
  std::string key;
  for (char c : kelas)
    if (c != ' ') key += c;
  return key;
}

std::string FinFeeIdPrefix(const std::string& kelas, const std::string& tapel) {
  return "BR-" + FinFeeClassKey(kelas) + tapel.substr(0, 4);
}

std::string FinFeeId(const std::string& kelas, const std::string& tapel, long long n) {
  return FinFeeIdPrefix(kelas, tapel) + FinFeeSuffix(n);
}

std::string FinYearCopyFeeIdPrefix(const std::string& kelas, const std::string& jumlah, const std::string& tapel) {
  return "BR-" + FinFeeClassKey(kelas) + jumlah + tapel.substr(0, 4);
}

std::string FinYearCopyFeeId(const std::string& kelas, const std::string& jumlah, const std::string& tapel,
                             long long counter) {
  return FinYearCopyFeeIdPrefix(kelas, jumlah, tapel) + FinFeeSuffix(counter);
}

std::string FinYearCopyRefRekening(const std::string& tapel) {
  const std::string last = tapel.size() >= 4 ? tapel.substr(tapel.size() - 4) : tapel;
  return "AM-" + tapel.substr(0, 4) + last;
}

long long FinNextFeeNumber(bool* failed) {
  gSqlResult.clear();
  const int rc = FinExec(kFinNextFeeNumberSql, FinCbSingleValue);
  if (failed) *failed = rc != 0;
  if (rc != 0 || gSqlResult.empty()) return 1;
  return RoundHalfEven(Val(gSqlResult) + 1);
}

bool FinFeeIdNamed(const std::string& id, const std::string& errorPrefix, bool* failed) {
  const std::string q = SqlQ(id);
  gCountResult = 0;
  const int rc = FinExec("Select (Select Count(*) From account WHERE Id='" + q +
                             "')+(Select Count(*) From detail_account WHERE id_account='" + q +
                             "')+(Select Count(*) From transaksi WHERE acctid='" + q + "')",
                         FinCbCount, errorPrefix);
  if (failed) *failed = rc != 0;
  return rc != 0 || gCountResult >= 1;
}

namespace {
std::set<std::string>* gNamedIds = nullptr;   // where FinFeeIdsNamedUnder's statement puts its rows
int OnNamedId(void*, int columnCount, char** values, char**) {
  if (columnCount > 0 && values && values[0]) gNamedIds->insert(values[0]);
  return 0;
}
}  // namespace

std::string FinFeeIdsNamedUnderSql(const std::string& prefix) {
  // Every fee id begins with "BR-": read row by row, the ids under a short prefix would be every billing row and
  // every fee payment of the school's history. Each distinct id is found instead by one step through the column's
  // index from the one before (the smallest id above it), so the read takes as many steps as there are ids.
  const std::string end = SqlQuoted(prefix + "\xF4\x8F\xBF\xBF");   // as SqlPrefixRange bounds the range
  const auto distinct = [&](const std::string& name, const std::string& column, const std::string& table) {
    const std::string next = "(Select min(" + column + ") From " + table + " WHERE " + column + " > " + name +
                             ".id AND " + column + " < " + end + ")";
    return name + "(id) As (Select min(" + column + ") From " + table + " WHERE " + SqlPrefixRange(column, prefix) +
           " Union All Select " + next + " From " + name + " WHERE " + name + ".id Is Not Null)";
  };
  return "With Recursive " + distinct("fees", "Id", "account") + ", " +
         distinct("billed", "id_account", "detail_account") + ", " + distinct("paid", "acctid", "transaksi") +
         " Select id From fees WHERE id Is Not Null Union Select id From billed WHERE id Is Not Null Union Select id "
         "From paid WHERE id Is Not Null";
}

bool FinFeeIdsNamedUnder(const std::string& prefix, std::set<std::string>& ids, const std::string& errorPrefix) {
  ids.clear();
  gNamedIds = &ids;
  const int rc = FinExec(FinFeeIdsNamedUnderSql(prefix), OnNamedId, errorPrefix);
  gNamedIds = nullptr;
  return rc == 0;
}

long long FinFreeFeeNumber(const std::set<std::string>& named, const std::function<std::string(long long)>& idOf,
                           long long n) {
  for (long long tries = 0; tries < kFinFeeNumbers; ++tries, ++n)
    if (!named.count(idOf(n))) return n;
  return 0;
}

std::string FinCodeOfItem(const std::string& item) {
  const std::size_t blank = item.find(' ');
  return blank == std::string::npos ? std::string() : item.substr(0, blank);
}

std::string FinFeeListSql(const std::string& kelas, const std::string& tapel) {
  return "select Id, Pembayaran, Jumlah, Kelas, Type, RefRekening, (Select count(*) from detail_account where "
         "detail_account.id_account=account.id) as N from account WHERE Kelas='" +
         SqlQ(kelas) + "' and Tapel='" + SqlQ(tapel) + "' Order By Id";
}

std::string FinFeeClassesSql(const std::string& tapel) {
  return "select Kelas from siswakelas WHERE Tapel='" + SqlQ(tapel) +
         "' and Kelas<>'DO' and instr(Kelas,'Lulus')<1 Group By Kelas";
}

std::string FinPostingAccountsSql(const std::string& tapel) {
  return "Select Kode, Deskripsi From rekening Where Grup='Msk' and Tapel='" + SqlQ(tapel) + "'";
}

std::string FinBillingInsertSql(const std::string& idAccount, const std::string& idSiswa, const FinBilling& b) {
  std::string sql =
      "Insert Into detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, oktober, "
      "nopember, desember, januari, februari, maret, april, mei, juni) Values('" +
      SqlQ(idAccount) + "','" + SqlQ(idSiswa) + "','" + std::to_string(b.total) + "'";
  for (long long m : b.months) sql += ",'" + std::to_string(m) + "'";
  return sql + ")";
}

std::string FinBillingUpdateAllSql(const std::string& idAccount, const FinBilling& b) {
  std::string sql = "Update detail_account Set jml_pembayaran='" + std::to_string(b.total) + "',";
  for (std::size_t i = 0; i < b.months.size(); ++i) {
    if (i) sql += ",";
    sql += std::string(kFinMonthColumns[i]) + "='" + std::to_string(b.months[i]) + "'";
  }
  return sql + " WHERE id_account='" + SqlQ(idAccount) + "'";
}
