#include "payments/arrears.h"

#include <QDate>

#include <algorithm>

#include "common/query_callbacks.h"
#include "common/sql.h"
#include "framework/numbers.h"
#include "platform/seams.h"

namespace {

const char* const kMonthColumns[12] = {"juli",     "agustus", "september", "oktober", "nopember", "desember",
                                       "januari",  "februari", "maret",    "april",   "mei",      "juni"};

// The value of the first four characters of a school year ("2024/2025" -> 2024).
long long FirstYear(const std::string& year) { return RoundHalfEven(Val(year.substr(0, 4))); }

std::string Last4(const std::string& s) { return s.size() >= 4 ? s.substr(s.size() - 4) : s; }

}  // namespace

int FinArrearsMonthsDue(const std::string& chosenYear, int todayYear, int todayMonth) {
  const std::string year = std::to_string(todayYear);
  if (chosenYear.substr(0, 4) == year && todayMonth >= 7 && todayMonth <= 12) return todayMonth - 6;
  if (Last4(chosenYear) == year && todayMonth >= 1 && todayMonth <= 6) return todayMonth + 6;
  return 12;
}

int FinArrearsMonthsDueToday(const std::string& chosenYear) {
  const QDate today = platform::Today();
  return FinArrearsMonthsDue(chosenYear, today.year(), today.month());
}

std::string FinArrearsMonthSumSql(int months) {
  months = std::clamp(months, 1, 12);
  std::string m;
  for (int i = 0; i < months; ++i) {
    if (i) m += "+";
    m += std::string("detail_account.") + kMonthColumns[i];
  }
  return m;
}

std::string FinArrearsClassSql(const std::string& student, const std::string& chosenYear) {
  return "SELECT Kelas FROM siswakelas where idsiswa='" + SqlQ(student) + "' and tapel='" + SqlQ(chosenYear) + "'";
}

std::string FinArrearsRekeningSql(const std::string& tapel) {
  return "Select Kode, Deskripsi From rekening Where substr(kode,-1)<>'0' and Grup='Msk' and Tapel='" + SqlQ(tapel) +
         "'";
}

std::string FinArrearsSql(const std::string& student, const std::string& kelas, const std::string& chosenYear,
                          const std::string& tapel, int prepaid, int monthsDue) {
  std::string sql = "SELECT account.Id, account.Pembayaran";
  if (tapel != chosenYear) sql += "||' Kls:'||Kelas||' '|| Tapel";
  if (prepaid < 1) {
    const std::string m = FinArrearsMonthSumSql(monthsDue);
    sql += ", case when cast(detail_account.jml_pembayaran as int)-cast((SELECT sum(transaksi.Masuk) FROM transaksi ";
    sql += "where transaksi.SiswaID=detail_account.id_siswa and transaksi.AcctId=account.id) as int) is null then "
           "case when account.Type='Perbulan' then cast(";
    sql += m;
    sql += " as int) else cast(detail_account.jml_pembayaran as int) end else ";
    sql += "case when account.Type='Perbulan' then cast(";
    sql += m;
    sql += " as int) else cast(detail_account.jml_pembayaran as int)  end - cast((SELECT sum(transaksi.Masuk) FROM "
           "transaksi where transaksi.SiswaID=detail_account.id_siswa and ";
    sql += "transaksi.AcctId=account.id) as int) end, account.Type, account.RefRekening, detail_account.jml_pembayaran "
           "FROM account inner join detail_account on detail_account.id_account=account.id ";
  } else {
    sql += ", case when cast(detail_account.jml_pembayaran as int)-cast((SELECT sum(transaksi.Masuk) FROM transaksi ";
    sql += "where transaksi.SiswaID=detail_account.id_siswa and transaksi.AcctId=account.id) as int) is null then "
           "cast(detail_account.jml_pembayaran as int) else ";
    sql += "cast(detail_account.jml_pembayaran as int) - cast((SELECT sum(transaksi.Masuk) FROM transaksi where "
           "transaksi.SiswaID=detail_account.id_siswa and ";
    sql += "transaksi.AcctId=account.id) as int) end, account.Type, account.RefRekening, detail_account.jml_pembayaran "
           "FROM account inner join detail_account on detail_account.id_account=account.id ";
  }
  sql += "WHERE detail_account.id_siswa='" + SqlQ(student) + "' and account.Kelas='" + SqlQ(kelas) +
         "' AND account.Tapel='" + SqlQ(chosenYear) + "' Order By account.Id Desc";
  return sql;
}

std::optional<long long> FinArrearsDue(const FinArrearsBilling& billing, int monthsDue, int prepaid) {
  if (prepaid >= 1 || billing.type != "Perbulan") return billing.yearly;
  monthsDue = std::clamp(monthsDue, 1, 12);
  long long sum = 0;
  for (int i = 0; i < monthsDue; ++i) {
    if (!billing.months[i]) return std::nullopt;   // a month without amount leaves the sum unknown
    sum += *billing.months[i];
  }
  return sum;
}

std::optional<long long> FinArrearsOwed(const FinArrearsBilling& billing, std::optional<long long> paid, int monthsDue,
                                        int prepaid) {
  const std::optional<long long> due = FinArrearsDue(billing, monthsDue, prepaid);
  if (!billing.yearly || !paid) return due;   // nothing paid (or no yearly amount): the whole due amount
  if (!due) return std::nullopt;
  return *due - *paid;
}

std::string FinFeeStandingSql(const std::string& student, const std::string& fee) {
  const std::string s = SqlQ(student), f = SqlQ(fee);
  std::string sql = "Select (Select Type From account Where Id='" + f +
                    "' Limit 1), (Select Tapel From account Where Id='" + f +
                    "' Limit 1), d.id_account is not null, d.jml_pembayaran";
  for (const char* month : kMonthColumns) sql += std::string(", d.") + month;
  sql += ", (Select sum(Masuk) From transaksi Where SiswaID='" + s + "' and AcctId='" + f +
         "') From (Select 1) Left Join detail_account d On d.id_siswa='" + s + "' and d.id_account='" + f + "' Limit 1";
  return sql;
}

namespace {
FinFeeStanding* gStandingRead = nullptr;   // where FinReadFeeStanding's statement puts its row

std::optional<long long> Number(char** values, int columnCount, int i) {
  if (i >= columnCount || !values || !values[i]) return std::nullopt;
  return RoundHalfEven(Val(values[i]));
}

int OnStanding(void*, int columnCount, char** values, char**) {
  FinFeeStanding s;
  s.billing.type = FinCell(values, columnCount, 0);
  s.tapel = FinCell(values, columnCount, 1);
  s.billed = FinCell(values, columnCount, 2) == "1";
  s.billing.yearly = Number(values, columnCount, 3);
  s.yearlyText = FinCell(values, columnCount, 3);
  for (int i = 0; i < 12; ++i) {
    s.billing.months[static_cast<std::size_t>(i)] = Number(values, columnCount, 4 + i);
    s.monthTexts[static_cast<std::size_t>(i)] = FinCell(values, columnCount, 4 + i);
  }
  s.paid = Number(values, columnCount, 16);
  *gStandingRead = std::move(s);
  return 0;
}
}  // namespace

bool FinReadFeeStanding(const std::string& student, const std::string& fee, FinFeeStanding* out) {
  FinFeeStanding read;
  gStandingRead = &read;
  const int rc = FinExec(FinFeeStandingSql(student, fee), OnStanding);
  gStandingRead = nullptr;
  if (rc != 0) return false;
  *out = std::move(read);
  return true;
}

long long FinFeeStandingOwed(const FinFeeStanding& standing, int prepaid) {
  if (!standing.billed) return 0 - standing.paid.value_or(0);
  return FinArrearsOwed(standing.billing, standing.paid, FinArrearsMonthsDueToday(standing.tapel), prepaid).value_or(0);
}

std::vector<std::string> FinArrearsSchoolYears(const std::string& tapel) {
  const long long y = FirstYear(tapel);
  std::vector<std::string> years = {tapel, std::to_string(y - 1) + "/" + tapel.substr(0, 4)};
  for (long long k = 2; k <= 5; ++k) years.push_back(std::to_string(y - k) + "/" + std::to_string(y - k + 1));
  return years;
}

bool FinArrearsIsEarlierYear(const std::string& tapel, const std::string& chosenYear) {
  return FirstYear(tapel) > FirstYear(chosenYear);
}

std::string FinArrearsInsertRef(const std::string& tapel, const std::string& chosenYear, const std::string& feeRef,
                                const std::string& rekeningText) {
  if (!FinArrearsIsEarlierYear(tapel, chosenYear)) return feeRef;
  const std::size_t blank = rekeningText.find(' ');
  return blank == std::string::npos ? std::string() : rekeningText.substr(0, blank);
}

std::string FinArrearsNameText(const std::string& name, const std::string& kelas, const std::string& feeYear,
                               const std::string& chosenYear, const std::string& tapel) {
  if (tapel == chosenYear) return name;
  return name + " Kls:" + kelas + " " + feeYear;
}
