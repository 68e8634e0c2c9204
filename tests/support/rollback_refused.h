// A second fault while a save is undone: an authorizer on the program's connection gDb refuses ROLLBACK (and, with
// `savepoints`, ROLLBACK TO of an inner level), as an I/O error on the journal would make it fail. An authorizer
// belongs to one connection: when the program opens its connection anew, the new one has none.
#pragma once
#include <sqlite3.h>

#include <string>

#include "app/globals.h"

namespace fintest {

class RollbackRefused {
 public:
  explicit RollbackRefused(bool transactions = true, bool savepoints = false)
      : db_(gDb), transactions_(transactions), savepoints_(savepoints) {
    sqlite3_set_authorizer(db_, &RollbackRefused::Authorize, this);
  }
  ~RollbackRefused() {
    if (gDb == db_) sqlite3_set_authorizer(db_, nullptr, nullptr);   // the connection may be gone already
  }
  RollbackRefused(const RollbackRefused&) = delete;
  RollbackRefused& operator=(const RollbackRefused&) = delete;

 private:
  static int Authorize(void* self, int action, const char* a1, const char*, const char*, const char*) {
    const auto* r = static_cast<const RollbackRefused*>(self);
    const bool rollback = a1 && std::string(a1) == "ROLLBACK";
    if (action == SQLITE_TRANSACTION && rollback && r->transactions_) return SQLITE_DENY;
    if (action == SQLITE_SAVEPOINT && rollback && r->savepoints_) return SQLITE_DENY;
    return SQLITE_OK;
  }
  sqlite3* db_;
  bool transactions_, savepoints_;
};

}  // namespace fintest
