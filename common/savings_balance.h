// A student's savings balance as the file holds it: the sum of Masuk minus Keluar over the student's savings rows
// (transaksi rows with AcctId 'Tabungan'), whatever their date and Sts. A window that takes money out of the savings
// reads the balance before it asks the operator, and checks it again inside the write's transaction: another program
// on the file (a second desk) may have taken money out in between.
#pragma once
#include <string>

// A count for FinInsertIfAllFree (common/sql.h): 1 when the stored savings balance of `studentId` is below `amount`
// (a student without savings rows has 0), else 0.
std::string FinSavingsShortCountSql(const std::string& studentId, long long amount);
