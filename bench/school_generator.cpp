#include "bench/school_generator.h"

#include <sqlite3.h>

#include <QDate>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/database.h"

namespace {

const std::array<const char*, 14> kGrades = {"TK A", "TK B", "I",   "II", "III", "IV",  "V",
                                             "VI",   "VII",  "VIII", "IX", "X",   "XI", "XII"};
const std::array<const char*, 24> kYearlyFees = {
    "Uang Buku", "Uang Kegiatan", "Uang Seragam", "Uang Gedung", "Ujian Semester", "Study Tour",
    "Ekstrakurikuler", "Asuransi", "Perpustakaan", "Laboratorium", "Komputer", "Pramuka",
    "Kartu Pelajar", "Majalah", "Wisuda", "Bimbel", "Olahraga", "Koperasi",
    "Kesehatan", "Seni", "Bahasa", "Outbound", "Try Out", "Sumbangan"};
const std::array<const char*, 24> kNames = {"Ani",   "Budi",  "Citra",   "Dewi",    "Eko",  "Fitri",
                                            "Gilang", "Hana", "Indra",   "Joko",    "Kartika", "Lestari",
                                            "Made",  "Nur",   "Oki",     "Putri",   "Rahmat", "Sari",
                                            "Teguh", "Umar",  "Wati",    "Yusuf",   "Zahra", "Bayu"};
const std::array<const char*, 16> kSurnames = {"Santoso", "Wijaya", "Saputra", "Lestari", "Hidayat", "Kusuma",
                                               "Pratama", "Siregar", "Nasution", "Putra", "Rahayu", "Gunawan",
                                               "Setiawan", "Halim", "Utami", "Nugroho"};
const std::array<const char*, 6> kReligions = {"Islam", "Kristen", "Katholik", "Hindu", "Budha", "Kong Hu Chu"};
const std::array<const char*, 3> kOperators = {"ketua", "kasir1", "kasir2"};

// A small generator of our own, so that a seed gives the same school with every compiler and library.
class Random {
 public:
  explicit Random(unsigned long long seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
  unsigned long long next() {
    unsigned long long z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  double real() { return static_cast<double>(next() >> 11) / 9007199254740992.0; }   // [0, 1)
  int below(int n) { return static_cast<int>(next() % static_cast<unsigned long long>(n)); }
  template <typename T, std::size_t N>
  T pick(const std::array<T, N>& a) {
    return a[static_cast<std::size_t>(below(static_cast<int>(N)))];
  }

 private:
  unsigned long long state_;
};

std::string Two(int n) {
  char b[16];
  std::snprintf(b, sizeof b, "%02d", n);
  return b;
}

std::string Tapel(int y1) { return std::to_string(y1) + "/" + std::to_string(y1 + 1); }
std::string TapelDigits(int y1) { return std::to_string(y1) + std::to_string(y1 + 1); }
std::string Iso(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")).toStdString(); }

std::vector<std::string> ClassNames(const std::string& grade, int parallels) {
  if (grade.rfind("TK", 0) == 0) return {grade};
  std::vector<std::string> out;
  for (int p = 0; p < parallels; ++p) out.push_back(grade + " " + static_cast<char>('A' + p));
  return out;
}

struct Fee {
  std::string id, name, kelas, type, ref;
  long long amount = 0;
  int year = 0;
};

struct Membership {
  std::string sid, kelas;
  int year = 0;
};

// One prepared insert, its values bound as texts or integers in order.
class Insert {
 public:
  Insert(sqlite3* db, const std::string& sql) { sqlite3_prepare_v2(db, sql.c_str(), -1, &st_, nullptr); }
  ~Insert() { sqlite3_finalize(st_); }
  Insert& text(const std::string& v) {
    sqlite3_bind_text(st_, ++n_, v.c_str(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Insert& integer(long long v) {
    sqlite3_bind_int64(st_, ++n_, v);
    return *this;
  }
  bool run() {
    const int rc = sqlite3_step(st_);
    sqlite3_reset(st_);
    n_ = 0;
    return rc == SQLITE_DONE;
  }
  bool ok() const { return st_ != nullptr; }

 private:
  sqlite3_stmt* st_ = nullptr;
  int n_ = 0;
};

bool Exec(sqlite3* db, const std::string& sql, std::string& error) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) == SQLITE_OK) return true;
  error = err ? err : sqlite3_errmsg(db);
  sqlite3_free(err);
  return false;
}

long long Count(sqlite3* db, const std::string& table) {
  sqlite3_stmt* st = nullptr;
  long long n = 0;
  if (sqlite3_prepare_v2(db, ("select count(*) from " + table).c_str(), -1, &st, nullptr) == SQLITE_OK &&
      sqlite3_step(st) == SQLITE_ROW)
    n = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  return n;
}

bool Fill(sqlite3* db, const SchoolSettings& a, SchoolFacts& facts, std::string& error) {
  Random rnd(a.seed);
  const QDate today = QDate::fromString(QString::fromStdString(a.today), QStringLiteral("yyyy-MM-dd"));
  if (!today.isValid()) {
    error = "today must read yyyy-mm-dd";
    return false;
  }
  const int lastY1 = today.month() >= 7 ? today.year() : today.year() - 1;
  const int firstY1 = lastY1 - a.years + 1;
  const int grades = static_cast<int>(kGrades.size());
  facts.tapel = Tapel(lastY1);

  Insert siswa(db, "insert into siswa (Id, Nama, LP, TmpLahir, TglLahir, Agama, Alamat, Ket, Status, TglMasuk, "
                   "Jenjang) values (?,?,?,?,?,?,?,?,?,?,?)");
  Insert kelasRow(db, "insert into siswakelas (Kode, IdSiswa, Kelas, Kategori, Jenjang, Tapel) values (?,?,?,?,?,?)");
  Insert rekening(db, "insert into rekening (Kode, Deskripsi, Grup, Tapel) values (?,?,?,?)");
  Insert gaji(db, "insert into mastergaji (Kode, Uraian, Kriteria, Tapel) values (?,?,?,?)");
  Insert account(db, "insert into account (Id, Pembayaran, Kelas, Jumlah, Type, Semester, Jenjang, RefRekening, "
                     "Tapel) values (?,?,?,?,?,'0','ins',?,?)");
  Insert billing(db, "insert into detail_account (id_account, id_siswa, jml_pembayaran, juli, agustus, september, "
                     "oktober, nopember, desember, januari, februari, maret, april, mei, juni) values "
                     "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
  // The money rows are made student by student and stored day by day, as the program writes them over the years.
  if (!Exec(db, "CREATE TEMP TABLE made (id TEXT, tgl TEXT, uraian TEXT, acctid TEXT, siswaid TEXT, masuk INTEGER, "
                "keluar INTEGER, petugas TEXT, sts TEXT, jenjang TEXT, Ref TEXT)",
            error))
    return false;
  Insert trans(db, "insert into temp.made (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, "
                   "Ref) values (?,?,?,?,?,?,?,?,?,?,?)");
  for (Insert* i : {&siswa, &kelasRow, &rekening, &gaji, &account, &billing, &trans})
    if (!i->ok()) {
      error = sqlite3_errmsg(db);
      return false;
    }

  // Students: a cohort enters TK A in year c and climbs one grade a year; after XII it graduates.
  const int perCohort = std::max(1, a.students / grades);
  std::vector<Membership> memberships;
  for (int c = firstY1 - grades + 1; c <= lastY1; ++c) {
    for (int k = 0; k < perCohort; ++k) {
      char sid[32];
      std::snprintf(sid, sizeof sid, "%02d%04d", ((c % 100) + 100) % 100, k + 1);
      std::vector<int> yearsIn;
      for (int y = firstY1; y <= lastY1; ++y)
        if (y - c >= 0 && y - c < grades) yearsIn.push_back(y);
      const int gradYear = c + grades;
      const bool graduates = gradYear >= firstY1 && gradYear <= lastY1;
      if (yearsIn.empty() && !graduates) continue;
      const std::string name = std::string(kNames[static_cast<std::size_t>(k % 24)]) + " " +
                               kSurnames[static_cast<std::size_t>((k / 24 + c) % 16)];
      QString upper = QString::fromStdString(name).toUpper();
      siswa.text(sid)
          .text(upper.toStdString())
          .text(k % 2 ? "P" : "L")
          .text("Bandung")
          .text(Iso(QDate(c - 4, 1 + k % 12, 1 + k % 28)))
          .text(kReligions[static_cast<std::size_t>(k % 6)])
          .text("Jl. Melati " + std::to_string(k % 97 + 1))
          .text("-")
          .text(gradYear <= lastY1 ? "DeAktif" : "Aktif")
          .text(std::to_string(std::max(c, firstY1)) + "-7-1")
          .text("-");
      if (!siswa.run()) return false;
      for (int y : yearsIn) {
        const std::vector<std::string> names = ClassNames(kGrades[static_cast<std::size_t>(y - c)], a.parallels);
        memberships.push_back({sid, names[static_cast<std::size_t>(k) % names.size()], y});
      }
      if (graduates) memberships.push_back({sid, "SMA Lulus", gradYear});
    }
  }
  for (const Membership& m : memberships) {
    kelasRow.text(TapelDigits(m.year) + m.sid).text(m.sid).text(m.kelas).text("01").text("-").text(Tapel(m.year));
    if (!kelasRow.run()) return false;
  }

  // Ledger accounts and allowances per year.
  struct Ledger {
    std::string kode, name, grup;
  };
  std::vector<Ledger> ledger = {{"100", "PENERIMAAN", "Msk"}};
  for (int i = 1; i <= 12; ++i) ledger.push_back({"1" + Two(i), "Penerimaan " + std::to_string(i), "Msk"});
  ledger.push_back({"200", "PENGELUARAN", "Klr"});
  for (int i = 1; i <= 10; ++i) ledger.push_back({"2" + Two(i), "Biaya " + std::to_string(i), "Klr"});
  ledger.push_back({"300", "BANK", "Bms"});
  ledger.push_back({"301", "Bank Mandiri", "Bms"});
  ledger.push_back({"302", "Bank BRI", "Bms"});
  for (int y = firstY1; y <= lastY1; ++y) {
    for (const Ledger& l : ledger) {
      rekening.text(l.kode).text(l.name).text(l.grup).text(Tapel(y));
      if (!rekening.run()) return false;
    }
    for (int i = 1; i <= 5; ++i) {
      gaji.text("G" + Two(i)).text("Tunjangan " + std::to_string(i)).text("Guru").text(Tapel(y));
      if (!gaji.run()) return false;
    }
  }

  // Fees per class and year: the first monthly, the others yearly.
  std::map<std::pair<std::string, int>, std::vector<Fee>> feesOf;
  int seq = 0;
  for (int y = firstY1; y <= lastY1; ++y) {
    for (int gi = 0; gi < grades; ++gi) {
      for (const std::string& kelas : ClassNames(kGrades[static_cast<std::size_t>(gi)], a.parallels)) {
        for (int f = 0; f < a.fees; ++f) {
          ++seq;
          char tail[16];
          std::snprintf(tail, sizeof tail, "%04d", seq % 10000);
          std::string compact;
          for (char ch : kelas)
            if (ch != ' ') compact += ch;
          Fee fee;
          fee.id = "BR-" + compact + std::to_string(y) + tail;
          fee.kelas = kelas;
          fee.year = y;
          if (f == 0) {
            fee.name = "SPP";
            fee.amount = 100000 + 10000LL * gi;
            fee.type = "Perbulan";
            fee.ref = "101";
          } else {
            fee.name = kYearlyFees[static_cast<std::size_t>((f - 1) % 24)];
            fee.amount = 50000LL * (1 + (f + gi) % 8);
            fee.type = "Pertahun";
            fee.ref = "1" + Two(1 + f % 12);
          }
          account.text(fee.id).text(fee.name).text(fee.kelas).integer(fee.amount).text(fee.type).text(fee.ref)
              .text(Tapel(y));
          if (!account.run()) return false;
          feesOf[{kelas, y}].push_back(fee);
        }
      }
    }
  }

  // Billing: a row per student and fee of the class.
  for (const Membership& m : memberships) {
    const auto it = feesOf.find({m.kelas, m.year});
    if (it == feesOf.end()) continue;
    for (const Fee& fee : it->second) {
      const bool monthly = fee.type == "Perbulan";
      billing.text(fee.id).text(m.sid).integer(monthly ? 12 * fee.amount : fee.amount);
      for (int i = 0; i < 12; ++i) billing.integer(monthly ? fee.amount : 0);
      if (!billing.run()) return false;
    }
  }

  // Payments with their receipts, and savings, student by student and year by year.
  std::map<std::string, int> clock;
  auto stamp = [&clock](const QDate& day) {
    const int n = clock[Iso(day)]++;
    return day.toString(QStringLiteral("yyyyMMdd")).toStdString() + Two(7 + n / 3600) + Two(n / 60 % 60) +
           Two(n % 60);
  };
  auto row = [&trans](const std::string& id, const QDate& day, const std::string& uraian, const std::string& acct,
                      const std::string& sid, long long masuk, long long keluar, const std::string& op,
                      const std::string& sts, const std::string& ref) {
    trans.text(id).text(Iso(day)).text(uraian).text(acct).text(sid).integer(masuk).integer(keluar).text(op).text(sts)
        .text("-").text(ref);
    return trans.run();
  };
  for (const Membership& m : memberships) {
    const auto it = feesOf.find({m.kelas, m.year});
    if (it == feesOf.end()) continue;
    const QDate start(m.year, 7, 1);
    const QDate end = std::min(QDate(m.year + 1, 6, 30), today);
    if (end < start) continue;
    const int months = (end.year() - start.year()) * 12 + end.month() - start.month() + 1;
    const Fee& spp = it->second.front();
    const std::vector<Fee> yearly(it->second.begin() + 1, it->second.end());
    const int paidMonths = months - (rnd.real() < 0.15 ? 1 : 0);   // some students owe the last month
    long long balance = 0;
    int page = 1, line = 0, month = 0;
    while (month < paidMonths) {
      const int take = std::min(paidMonths - month, rnd.below(5) == 4 ? 2 : 1);
      const QDate day = std::min(start.addDays(31LL * (month + take - 1) + rnd.below(20)), end);
      struct Item {
        std::string fee, what, ref;
        long long amount;
      };
      std::vector<Item> items = {{spp.id, "SPP " + std::to_string(take) + " bulan", spp.ref, take * spp.amount}};
      if (!yearly.empty() && rnd.real() < 0.35) {
        const Fee& f = yearly[static_cast<std::size_t>(rnd.below(static_cast<int>(yearly.size())))];
        items.push_back({f.id, f.name, f.ref, f.amount / (rnd.below(2) ? 2 : 1)});
      }
      const std::string receipt = TapelDigits(m.year) + stamp(day);
      const std::string op = rnd.pick(kOperators);
      for (std::size_t i = 0; i < items.size(); ++i)
        if (!row(receipt + std::to_string(i + 1), day, items[i].what, items[i].fee, m.sid, items[i].amount, 0, op,
                 "p", items[i].ref))
          return false;
      if (rnd.real() < 0.1 && !row(receipt + std::to_string(items.size() + 1), day, "Potongan Pembayaran", "Disc",
                                   m.sid, -10000, 0, op, "p", "disc-pembayaran"))
        return false;
      month += take;
      const int savings = std::array<int, 4>{0, 1, 1, 2}[static_cast<std::size_t>(rnd.below(4))];
      for (int s = 0; s < savings; ++s) {
        const long long amount = std::array<long long, 4>{10000, 20000, 25000, 50000}[static_cast<std::size_t>(
            rnd.below(4))];
        const bool withdraw = balance >= amount && rnd.real() < 0.3;
        balance += withdraw ? -amount : amount;
        if (++line > 24) {
          ++page;
          line = 1;
        }
        const bool thisMonth = day.month() == today.month() && day.year() == today.year();
        if (!row(m.sid + stamp(day), day, withdraw ? "02-Tarikan Tunai" : "01-Setoran Tunai", "Tabungan", m.sid,
                 withdraw ? 0 : amount, withdraw ? amount : 0, op, thisMonth ? "t" : "-",
                 std::to_string(page) + "-" + std::to_string(line)))
          return false;
      }
    }
  }

  // Cash and bank journals on every weekday.
  for (int y = firstY1; y <= lastY1; ++y) {
    const QDate last = std::min(QDate(y + 1, 6, 30), today);
    for (QDate day(y, 7, 1); day <= last; day = day.addDays(1)) {
      if (day.dayOfWeek() > 5) continue;
      const int entries = 2 + rnd.below(5);
      for (int e = 0; e < entries; ++e) {
        const bool income = rnd.real() < 0.4;
        const std::string kind = rnd.real() < 0.8 ? "k" : "b";
        const std::string code = income ? "1" + Two(1 + rnd.below(12)) : "2" + Two(1 + rnd.below(10));
        const long long amount = (1 + rnd.below(199)) * 5000LL;
        if (!row((income ? "INC" : "EXP") + stamp(day), day, income ? "Penerimaan lain" : "Belanja operasional", "-",
                 "-", income ? amount : 0, income ? 0 : amount, "ketua", kind, code))
          return false;
      }
    }
  }
  return Exec(db, "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref) "
                  "SELECT id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref FROM temp.made "
                  "ORDER BY tgl, rowid; DROP TABLE temp.made",
              error);
}

}  // namespace

bool FinGenerateSchool(const std::string& path, const SchoolSettings& settings, SchoolFacts& facts, std::string& error) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  if (FinSchemaText().empty()) {
    error = "db/schema.sql is not compiled in";
    return false;
  }
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    error = db ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    return false;
  }
  // The tables from the schema; the indexes are made once the rows are in, which is much quicker.
  bool ok = Exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", error) &&
            Exec(db, FinSchemaWithoutIndexes(), error);
  ok = ok && Exec(db, "BEGIN", error);
  if (ok && !Fill(db, settings, facts, error)) {
    if (error.empty()) error = sqlite3_errmsg(db);
    ok = false;
  }
  ok = ok && Exec(db, "COMMIT", error);
  if (ok) {
    const int rc = FinEnsureIndexes(db, error);
    ok = rc == SQLITE_OK;
  }
  ok = ok && Exec(db, "PRAGMA journal_mode=DELETE", error);
  if (ok) FinReadSchoolFacts(db, facts);
  sqlite3_close(db);
  if (!ok) std::filesystem::remove(path, ec);
  return ok;
}

void FinReadSchoolFacts(sqlite3* db, SchoolFacts& facts) {
  facts.students = Count(db, "siswa");
  facts.classRows = Count(db, "siswakelas");
  facts.fees = Count(db, "account");
  facts.billingRows = Count(db, "detail_account");
  facts.transactions = Count(db, "transaksi");
}
