// Opening the database file: the one routine start-up, the connection window and restore go through; the schema and
// its indexes.
#pragma once
#include <sqlite3.h>

#include <string>
#include <vector>

// How long a statement waits for another program's lock on the file before it fails ("database is locked").
constexpr int kFinBusyTimeoutMs = 5000;

// The page cache of a connection (PRAGMA cache_size: negative, in KiB, so 64 MiB), and no memory-mapped reads
// (PRAGMA mmap_size 0): SQLite cannot catch an I/O error on a mapped page, so a file truncated or replaced while it is
// read, or a shared or removable disk that goes away, would end the program instead of failing the statement.
constexpr long long kFinCacheSizePragma = -65536;
constexpr long long kFinMmapSizeBytes = 0;
// Gives `db` that page cache and reads without the map (FinOpenDatabase does it; so does a connection opened aside).
void FinSetConnectionCache(sqlite3* db);

// Opens the existing database file `path` for reading and writing, and writes nothing to it. Never creates a file: a
// path that does not exist, or a file SQLite cannot read as a database, gives nullptr and SQLite's message in `error`
// ("unable to open database file" for a missing file). The connection gets the busy timeout and the page cache above,
// and reads the file without a memory map. Once the file is known to
// be the database to work on, FinEnsureIndexes gives it the indexes the program relies on.
sqlite3* FinOpenDatabase(const std::string& path, std::string& error);

// db/schema.sql as compiled in (empty when it is missing): the tables, the super user's row and the indexes.
const std::string& FinSchemaText();
// The schema without its indexes: every other statement of it, in order, each ended by ";".
std::string FinSchemaWithoutIndexes();

// The CREATE INDEX IF NOT EXISTS statements of db/schema.sql, in the order they stand there. db/schema.sql is the one
// list of indexes: a new database gets them from it, an existing one from FinEnsureIndexes.
const std::vector<std::string>& FinIndexStatements();

// Makes sure of every index on `db` (indexes on a table the database lacks are skipped). SQLITE_OK, or the code of the
// first statement that failed with its message in `error`. Start-up runs it after opening the database, the connection
// window after the soundness check, restore after the copy; a database that cannot take an index (read-only file,
// locked for long) is still worked on, only slower.
int FinEnsureIndexes(sqlite3* db, std::string& error);

// True when `db` is a sound Finance database: it passes PRAGMA quick_check and holds every table of db/schema.sql
// with every column the schema gives it (names compared without regard to case; more tables or columns do no harm).
// Otherwise the reason in `error`: "bukan database keuangan, tabel <table> tidak ada" for the first missing table,
// else "bukan database keuangan, kolom <table>.<column> tidak ada" for the first missing column.
bool FinCheckFinanceDatabase(sqlite3* db, std::string& error);

// The program keeps its database in SQLite's rollback journal: a file in write-ahead-log mode is returned to it
// (journal_mode=DELETE: the log's pages are written into the file and the -wal file goes), so that no recent rows stay
// in a file beside the database that a copy of the database file alone would leave behind. Any other mode is left as
// it is. SQLITE_OK, or the failure (another program holding the file open in that mode) with its message in `error`.
int FinUseRollbackJournal(sqlite3* db, std::string& error);

// What start-up and the connection window do with a file opened by FinOpenDatabase before working on it:
// FinCheckFinanceDatabase, FinUseRollbackJournal, then FinEnsureIndexes (whose failure only makes it slower). False
// with the reason in `error` when the file is not to be worked on.
bool FinPrepareFinanceDatabase(sqlite3* db, std::string& error);
