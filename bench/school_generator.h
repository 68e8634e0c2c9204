// A generated school database of many years, made the way the program itself writes its rows: students and their
// class per school year, ledger accounts and fees per year, a billing row per student and fee, receipts of fee
// payments (some with a discount), savings deposits and withdrawals, and cash and bank journal entries. The tables
// and indexes come from db/schema.sql (compiled in). The same settings always give the same database.
//
// The benchmark builds its large school with it (bench/finance_bench.cpp) and the tests a small one, on which they
// compare statements.
#pragma once
#include <sqlite3.h>

#include <string>

struct SchoolSettings {
  int students = 2000;    // active students in the working school year (spread over the fourteen grades)
  int years = 10;         // school years of history, the working one included
  int fees = 10;          // fees per class and year; the first is monthly (SPP), the others yearly
  int parallels = 4;      // parallel classes per grade from I to XII (TK A and TK B have one class)
  std::string today;      // "yyyy-mm-dd": decides the working school year and how far its rows reach
  unsigned long long seed = 1;
};

struct SchoolFacts {
  std::string tapel;                 // the working school year, "2026/2027"
  long long students = 0, classRows = 0, fees = 0, billingRows = 0, transactions = 0;
};

// The counts of `facts` read from the school's file (the working year is left as it is).
void FinReadSchoolFacts(sqlite3* db, SchoolFacts& facts);

// Writes the school into a new file at `path` (an existing file there is replaced). False with `error` set when the
// file cannot be written.
bool FinGenerateSchool(const std::string& path, const SchoolSettings& settings, SchoolFacts& facts, std::string& error);
