// Backup and restore of the database through SQLite's online backup API: a consistent copy, never a file copied
// under an open connection.
#pragma once
#include <sqlite3.h>

#include <QDateTime>

#include <string>

#include "framework/win.h"

// "BackUp" + gToday without its "-" (yyyymmdd) + ".datakeuangan".
std::string AppBackupFileName();

// Copies the whole database `from` ("main") into the database file `toPath`, replacing what that file held. The copy
// is written beside it first and moved into place only when complete, so a failure leaves an existing file as it
// was. False with SQLite's (or the file system's) message in `error` on failure.
bool AppCopyDatabaseTo(sqlite3* from, const std::string& toPath, std::string& error);

// The "BackUp" command: copies gDb into AppBackupFileName() in the working folder (a second backup of the day
// replaces the first; when that name is the database at work itself, "_2" (or the next free number) stands before
// ".datakeuangan", so that the open database is never replaced) and shows "File hasil backup : " + that name, caption "Info". A failed copy shows
// "BackUp gagal, file " + name + " tidak dapat ditulis: " + message instead. True when written.
bool AppBackup();

// The safety copy a restore makes of the live database `dbPath`: beside it, its name + "_SebelumRestore_" + the date
// and time (yyyyMMdd_HHmmss) + ".datakeuangan"; "_2", "_3", ... after the time when that name is taken.
std::string AppSafetyCopyName(const std::string& dbPath, const QDateTime& now);

// Restores the database from `path`. The file must be a sound Finance database (FinCheckFinanceDatabase: readable,
// whole, with the system's tables); otherwise "Restore gagal: " + the reason and nothing of the live database is
// touched. Then the live database is copied to AppSafetyCopyName (a copy that cannot be written refuses the restore),
// a new connection is opened on gDbPath (when it cannot be, "Restore gagal: database <gDbPath> tidak dapat dibuka
// lagi: " + SQLite's reason, and gDb stays as it was), the chosen file's contents are copied into it, it replaces gDb,
// goes back to the rollback journal (FinUseRollbackJournal) and gets the schema's indexes (FinEnsureIndexes). Success: "Restore berhasil,
// database diganti dengan isi file : " + path + ", database sebelumnya disimpan di : " + the safety copy + "..";
// choosing the live database itself changes nothing and makes no copy. Caption "Info". True when restored. gDb is
// open afterwards in every case.
bool AppRestoreFrom(const std::string& path);

// The "Restore" command: asks for the file ("Cari dan Pili File Excel", "*.datakeuangan" first, in the working
// folder); nothing happens when the dialog is cancelled; otherwise AppRestoreFrom. True when restored.
bool AppRestore(Hwnd owner);
