// Student ids and the money that names them. Deleting a student leaves its payment, savings and billing rows in
// transaksi and detail_account; a new student given that id would show, owe and spend that money. A new student
// (the record window, the import) is therefore never given an id that such rows of any school year still name.
#pragma once
#include <string>
#include <vector>

// One row, one column: how many rows of transaksi (payments, discounts, savings: SiswaId) and of detail_account
// (billing: id_siswa), of any school year, name the student id `id`.
std::string FinStudentMoneyRowsSql(const std::string& id);

// The refusal of such ids (caption "Info"): "Gagal menyimpan, Id/Kode " + the ids joined by ", " + " masih tercatat di
// data pembayaran, tabungan atau tagihan siswa lama, gunakan Id/Kode yang lain..".
std::string FinStudentIdsHaveMoneyText(const std::vector<std::string>& ids);
