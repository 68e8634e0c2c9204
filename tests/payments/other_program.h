// Another program on the same database file, as the payment tests use it.
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "support/other_program.h"

namespace paytest {

using fintest::OtherProgram;
using fintest::RowsInFile;

// How another program gets in the way of a save: a read lock across the commit, a write lock from the start, or (no
// other program) a trigger that refuses a row half-way through.
enum class Obstacle { kReadLock, kWriteLock, kTrigger };

}  // namespace paytest
