// Backup and restore of the database through SQLite's online backup API: a consistent copy, never a file copied
// under an open connection.
#pragma once
#include <sqlite3.h>

#include <string>

#include "framework/win.h"

// "BackUp" + gToday without its "-" (yyyymmdd) + ".datakeuangan".
std::string AppBackupFileName();

// Copies the whole database `from` ("main") into the database file `toPath`, replacing what that file held. The copy
// is written beside it first and moved into place only when complete, so a failure leaves an existing file as it
// was. False with SQLite's (or the file system's) message in `error` on failure.
bool AppCopyDatabaseTo(sqlite3* from, const std::string& toPath, std::string& error);

// The "BackUp" command: copies gDb into AppBackupFileName() in the working folder (a second backup of the day
// replaces the first) and shows "File hasil backup : " + that name, caption "Info". A failed copy shows
// "BackUp gagal, file " + name + " tidak dapat ditulis: " + message instead. True when written.
bool AppBackup();

// Restores the database from `path`: the file must be a readable SQLite database; then gDb is closed, opened again on
// gDbPath and the chosen file's contents copied into it. Shows "Restore berhasil, database diganti dengan isi file : "
// + path, or "Restore gagal: " + message (a file that is no database leaves the database untouched), caption "Info".
// True when restored. gDb is open on gDbPath afterwards in every case but a database that cannot be opened again.
bool AppRestoreFrom(const std::string& path);

// The "Restore" command: asks for the file ("Cari dan Pili File Excel", "*.datakeuangan" first, in the working
// folder); nothing happens when the dialog is cancelled; otherwise AppRestoreFrom. True when restored.
bool AppRestore(Hwnd owner);
