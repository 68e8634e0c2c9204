#include "app/backup.h"

#include <filesystem>

#include "app/globals.h"
#include "common/busy.h"
#include "common/database.h"
#include "framework/dialogs.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "platform/seams.h"

namespace {

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  std::filesystem::remove(path + "-journal", ec);
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

// Copies `from` into the open connection `to`; SQLite's result code, the message in `error`.
int CopyInto(sqlite3* from, sqlite3* to, std::string& error) {
  sqlite3_backup* b = sqlite3_backup_init(to, "main", from, "main");
  if (!b) {
    error = sqlite3_errmsg(to);
    return sqlite3_errcode(to) != SQLITE_OK ? sqlite3_errcode(to) : SQLITE_ERROR;
  }
  int step = sqlite3_backup_step(b, -1);
  int rc = sqlite3_backup_finish(b);
  if (step != SQLITE_DONE && rc == SQLITE_OK) rc = step;
  if (rc != SQLITE_OK) {
    error = sqlite3_errcode(to) != SQLITE_OK ? sqlite3_errmsg(to) : sqlite3_errstr(rc);
    if (error.empty() || error == "not an error") error = sqlite3_errstr(rc);
  }
  return rc;
}

}  // namespace

std::string AppBackupFileName() { return "BackUp" + StrReplace(gToday, "-", "") + ".datakeuangan"; }

bool AppCopyDatabaseTo(sqlite3* from, const std::string& toPath, std::string& error) {
  if (!from) {
    error = sqlite3_errstr(SQLITE_MISUSE);
    return false;
  }
  const std::string partial = toPath + ".partial";
  RemoveQuietly(partial);
  sqlite3* to = nullptr;
  int rc = sqlite3_open_v2(partial.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc == SQLITE_OK) {
    rc = CopyInto(from, to, error);
  } else {
    error = to ? sqlite3_errmsg(to) : sqlite3_errstr(rc);
  }
  sqlite3_close(to);
  if (rc != SQLITE_OK) {
    RemoveQuietly(partial);
    return false;
  }
  std::error_code ec;
  std::filesystem::rename(partial, toPath, ec);
  if (ec) {
    error = ec.message();
    RemoveQuietly(partial);
    return false;
  }
  return true;
}

bool AppBackup() {
  // The database at work may itself carry today's backup name (the connection window takes any file): the copy then
  // gets a name of its own, so that it never replaces the open database.
  std::string name = AppBackupFileName();
  const std::string stem = name.substr(0, name.size() - std::string(".datakeuangan").size());
  for (int n = 2; SameFile(name, gDbPath); ++n) name = stem + "_" + std::to_string(n) + ".datakeuangan";
  std::string error;
  bool copied = false;
  {
    FinBusy busy(FinBusyTask::Backup);
    if (!busy.started()) return false;
    copied = AppCopyDatabaseTo(gDb, name, error);
  }
  if (!copied) {
    MsgBox("BackUp gagal, file " + name + " tidak dapat ditulis: " + error, "Info", MB_OK);
    return false;
  }
  MsgBox("File hasil backup : " + name, "Info", MB_OK);
  return true;
}

std::string AppSafetyCopyName(const std::string& dbPath, const QDateTime& now) {
  const std::filesystem::path live(dbPath);
  const std::string stem = live.stem().string();
  const std::string folder = live.has_parent_path() ? live.parent_path().string() + "/" : std::string();
  const std::string base =
      folder + stem + "_SebelumRestore_" + now.toString(QStringLiteral("yyyyMMdd_HHmmss")).toStdString();
  std::string name = base + ".datakeuangan";
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(name, ec); ++n) name = base + "_" + std::to_string(n) + ".datakeuangan";
  return name;
}

namespace {

// What a restore ended with; its box is shown once the work is done.
struct RestoreOutcome {
  bool restored = false;
  std::string message;   // the box's text
};

RestoreOutcome RestoreWork(const std::string& path) {
  auto fail = [](const std::string& message) { return RestoreOutcome{false, "Restore gagal: " + message}; };

  // Only a sound Finance database is restored: a file SQLite cannot read, an empty or foreign database or a damaged
  // one leaves the live database as it is, before anything of it is touched.
  sqlite3* src = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &src, SQLITE_OPEN_READONLY, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = src ? sqlite3_errmsg(src) : sqlite3_errstr(rc);
    sqlite3_close(src);
    return fail(message);
  }
  std::string unsound;
  if (!FinCheckFinanceDatabase(src, unsound)) {
    sqlite3_close(src);
    return fail(unsound);
  }

  if (SameFile(path, gDbPath)) {
    sqlite3_close(src);   // the database itself was chosen: it already holds these contents
    return {true, "Restore berhasil, database diganti dengan isi file : " + path};
  }

  // The live database is kept beside itself first, so that a wrong restore can be undone.
  const std::string safety = AppSafetyCopyName(gDbPath, platform::Now());
  std::string error;
  if (!AppCopyDatabaseTo(gDb, safety, error)) {
    sqlite3_close(src);
    return fail("salinan database " + safety + " tidak dapat ditulis: " + error);
  }

  // A fresh connection on the database file, opened before the one at work is given up: should the file not open
  // again, nothing is restored and the program goes on with the connection it has. The chosen file's pages are
  // copied into the fresh connection, which then takes the place of the old one.
  std::string message;
  sqlite3* db = FinOpenDatabase(gDbPath, message);
  if (!db) {
    sqlite3_close(src);
    return fail("database " + gDbPath + " tidak dapat dibuka lagi: " + message);
  }
  rc = CopyInto(src, db, error);
  sqlite3_close(src);
  if (rc != SQLITE_OK) {
    sqlite3_close(db);
    return fail(error);
  }
  sqlite3* previous = gDb;
  gDb = db;
  if (previous) sqlite3_close_v2(previous);
  // A file kept in a write-ahead log brings that mode along with its pages: the database goes back to the rollback
  // journal (should another program hold it open in that mode, it stays readable and writable as it is).
  FinUseRollbackJournal(gDb, error);
  FinEnsureIndexes(gDb, error);   // the restored contents may lack some; without them the database is only slower
  return {true, "Restore berhasil, database diganti dengan isi file : " + path +
                    ", database sebelumnya disimpan di : " + safety + ".."};
}

}  // namespace

bool AppRestoreFrom(const std::string& path) {
  RestoreOutcome outcome;
  {
    FinBusy busy(FinBusyTask::Restore);
    if (!busy.started()) return false;
    outcome = RestoreWork(path);
  }
  MsgBox(outcome.message, "Info", MB_OK);
  return outcome.restored;
}

bool AppRestore(Hwnd owner) {
  std::string fileName;
  std::string folder;
  std::error_code ec;
  folder = std::filesystem::current_path(ec).string();
  std::string filter = "Excel files (*.datakeuangan)|*.datakeuangan|All Files (*.*)|*.*";
  if (!DlgOpenFile(owner, "Cari dan Pili File Excel", fileName, folder, filter, "datakeuangan",
                   OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, 0))
    return false;
  return AppRestoreFrom(fileName);
}
