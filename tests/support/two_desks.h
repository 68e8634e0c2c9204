// Two desks on one database file, each a process of its own: a test runs one test of this same test program twice at
// once, as desk 1 and desk 2, on a file it made. The desks meet at named steps (each waits there until the other has
// come), so that both have read the file before either saves: whichever saves second must see what the first wrote.
//
//   TEST_F(SomeDeskChild, Pays) {          // skipped unless run as a desk (IsDesk())
//     ... read ...; ASSERT_TRUE(fintest::MeetOtherDesk("read-1")); ... save ...
//   }
//   TEST(SomeTwoDesks, PayOnce) {
//     ... make the file ...; EXPECT_TRUE(fintest::RunTwoDesks(path, "SomeDeskChild.Pays"));
//     ... read the file back ...
//   }
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/database.h"
#include "common/session.h"

namespace fintest {

// True in a process that runs as one of the two desks.
inline bool IsDesk() { return std::getenv("FIN_TWO_DESKS_DB") != nullptr; }
// The desk's file, and its number (1 or 2).
inline std::string DeskDatabase() { return IsDesk() ? std::getenv("FIN_TWO_DESKS_DB") : ""; }
inline int DeskNumber() { return IsDesk() ? std::atoi(std::getenv("FIN_TWO_DESKS_DESK")) : 0; }

// The program's connection (gDb) closed and opened anew on the desk's file, as the program opens a file (waiting for
// a file another desk holds); false, with the reason added to the test's failure, when it does not open.
inline bool UseDeskDatabase() {
  sqlite3_close(gDb);
  std::string error;
  gDb = FinOpenDatabase(DeskDatabase(), error);
  if (!gDb) ADD_FAILURE() << DeskDatabase() << ": " << error;
  return gDb != nullptr;
}

// Marks that this desk has come to `step` and waits (at most a minute) until the other desk has come there too.
inline bool MeetOtherDesk(const std::string& step) {
  const std::string folder = std::getenv("FIN_TWO_DESKS_SYNC");
  std::ofstream(folder + "/" + step + "-" + std::to_string(DeskNumber())).put('x');
  const std::string other = folder + "/" + step + "-" + std::to_string(3 - DeskNumber());
  for (int wait = 0; wait < 6000 && !std::filesystem::exists(other); ++wait) usleep(10000);
  return std::filesystem::exists(other);
}

// Runs the test `filter` of this program as desk 1 and desk 2 at once on the file `dbPath` (the desks meet in a
// folder beside it); true when both ended within three minutes and passed. What a desk that failed printed is added
// to the test's failure.
inline bool RunTwoDesks(const std::string& dbPath, const std::string& filter) {
  const std::string sync = dbPath + ".desks";
  std::filesystem::create_directories(sync);
  std::vector<std::unique_ptr<QProcess>> desks;
  for (int desk = 1; desk <= 2; ++desk) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("FIN_TWO_DESKS_DB", QString::fromStdString(dbPath));
    env.insert("FIN_TWO_DESKS_SYNC", QString::fromStdString(sync));
    env.insert("FIN_TWO_DESKS_DESK", QString::number(desk));
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(QCoreApplication::applicationFilePath(), {QString::fromStdString("--gtest_filter=" + filter)});
    desks.push_back(std::move(p));
  }
  bool passed = true;
  for (auto& p : desks) {
    const bool ended = p->waitForFinished(180000);
    if (!ended) {
      p->kill();
      p->waitForFinished();
    }
    const std::string output = p->readAll().toStdString();
    const bool ok = ended && p->exitCode() == 0 && output.find("[  PASSED  ] 1 test") != std::string::npos;
    if (!ok) ADD_FAILURE() << "a desk did not pass:\n" << output;
    passed = passed && ok;
  }
  std::error_code ec;
  std::filesystem::remove_all(sync, ec);
  return passed;
}

// The billing rows whose student has paid on the fee anything else than the bill (a count: 0 when every fee is paid
// exactly once).
inline const char* const kBillsNotPaidExactlySql =
    "select count(*) from detail_account d where (select ifnull(sum(masuk),0) from transaksi t where "
    "t.siswaid=d.id_siswa and t.acctid=d.id_account) <> d.jml_pembayaran";

}  // namespace fintest
