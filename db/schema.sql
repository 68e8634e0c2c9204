-- The tables Finance expects in its database. The program creates none of them: a new database is made from this file.
-- Texts (ids, codes, names, classes, dates) are TEXT; money is INTEGER (whole rupiah).

CREATE TABLE IF NOT EXISTS siswa (
  Id        TEXT,
  Nama      TEXT,
  LP        TEXT,
  TmpLahir  TEXT,
  TglLahir  TEXT,
  Agama     TEXT,
  Alamat    TEXT,
  Ket       TEXT,
  Status    TEXT,
  TglMasuk  TEXT,
  Jenjang   TEXT
);
CREATE INDEX IF NOT EXISTS siswa_id ON siswa (Id);

CREATE TABLE IF NOT EXISTS siswakelas (
  Kode      TEXT,
  IdSiswa   TEXT,
  Kelas     TEXT,
  Kategori  TEXT,
  Jenjang   TEXT,
  Tapel     TEXT
);
CREATE INDEX IF NOT EXISTS siswakelas_tapel_kelas ON siswakelas (Tapel, Kelas);
CREATE INDEX IF NOT EXISTS siswakelas_siswa ON siswakelas (IdSiswa, Tapel);
CREATE INDEX IF NOT EXISTS siswakelas_kode ON siswakelas (Kode);

CREATE TABLE IF NOT EXISTS rekening (
  Kode       TEXT,
  Deskripsi  TEXT,
  Grup       TEXT,
  Tapel      TEXT
);
CREATE INDEX IF NOT EXISTS rekening_tapel ON rekening (Tapel, Grup);
CREATE INDEX IF NOT EXISTS rekening_kode ON rekening (Kode);

CREATE TABLE IF NOT EXISTS account (
  Id           TEXT,
  Pembayaran   TEXT,
  Kelas        TEXT,
  Jumlah       INTEGER,
  Type         TEXT,
  Tapel        TEXT,
  Semester     TEXT,
  Jenjang      TEXT,
  RefRekening  TEXT,
  Kategori     TEXT
);
CREATE INDEX IF NOT EXISTS account_tapel_kelas ON account (Tapel, Kelas);
CREATE INDEX IF NOT EXISTS account_id ON account (Id);

-- Four columns come before juli: the month chooser reads a whole row and takes the months by position.
CREATE TABLE IF NOT EXISTS detail_account (
  id_account      TEXT,
  id_siswa        TEXT,
  jml_pembayaran  INTEGER,
  catatan         TEXT,
  juli            INTEGER,
  agustus         INTEGER,
  september       INTEGER,
  oktober         INTEGER,
  nopember        INTEGER,
  desember        INTEGER,
  januari         INTEGER,
  februari        INTEGER,
  maret           INTEGER,
  april           INTEGER,
  mei             INTEGER,
  juni            INTEGER
);
CREATE INDEX IF NOT EXISTS detail_account_siswa_account ON detail_account (id_siswa, id_account);
CREATE INDEX IF NOT EXISTS detail_account_account ON detail_account (id_account);
-- What each fee bills in all (the arrears recap), read from the index alone. Only a statement that asks for billed
-- amounts ("jml_pembayaran Is Not Null") reads through it: the others keep the order the index above gives.
CREATE INDEX IF NOT EXISTS detail_account_billed ON detail_account (id_account, jml_pembayaran)
  WHERE jml_pembayaran IS NOT NULL;

CREATE TABLE IF NOT EXISTS transaksi (
  id       TEXT,
  tgl      TEXT,
  uraian   TEXT,
  acctid   TEXT,
  siswaid  TEXT,
  masuk    INTEGER,
  keluar   INTEGER,
  petugas  TEXT,
  sts      TEXT,
  jenjang  TEXT,
  Ref      TEXT
);
CREATE INDEX IF NOT EXISTS transaksi_siswa_acct ON transaksi (siswaid, acctid);
CREATE INDEX IF NOT EXISTS transaksi_tgl_sts ON transaksi (tgl, sts);
CREATE INDEX IF NOT EXISTS transaksi_sts ON transaksi (sts, siswaid);
CREATE INDEX IF NOT EXISTS transaksi_id ON transaksi (id);
-- The sums per fee (the payment recaps: everything paid on a fee, a fee's payments of one day, the discounts of a
-- period), and what one student paid on one fee in a period (the payment report per student: without it the sum
-- would take the fee's rows of the whole period through the index above).
CREATE INDEX IF NOT EXISTS transaksi_acct_tgl ON transaksi (acctid, tgl);
CREATE INDEX IF NOT EXISTS transaksi_siswa_acct_tgl ON transaksi (siswaid, acctid, tgl);
-- Everything paid on a fee, in all (the payment recap) or by the students of a list (the arrears recap), read from the
-- index alone. Only a statement that asks for paid amounts ("Masuk Is Not Null") reads through it: the others keep
-- the order the indexes above give.
CREATE INDEX IF NOT EXISTS transaksi_acct_paid ON transaksi (acctid, siswaid, masuk) WHERE masuk IS NOT NULL;
-- The movements of one ledger account in a month (the school financial report: one lookup per account).
CREATE INDEX IF NOT EXISTS transaksi_ref_tgl ON transaksi (Ref, tgl);
-- The cash balance at a date (the financial report's opening balance sums every row but savings up to the month
-- before), read from the index alone.
CREATE INDEX IF NOT EXISTS transaksi_cash_tgl ON transaksi (tgl, masuk, keluar) WHERE AcctID<>'Tabungan';
-- Savings rows by date (the financial report's savings total, the savings reports of a period and the students in
-- it), read from the index alone.
CREATE INDEX IF NOT EXISTS transaksi_savings_tgl ON transaksi (acctid, tgl, siswaid, masuk, keluar)
  WHERE AcctID='Tabungan';
-- A student's savings balance (the savings reports, the savings teller, the payment window), from the index alone.
CREATE INDEX IF NOT EXISTS transaksi_savings_siswa ON transaksi (siswaid, acctid, masuk, keluar)
  WHERE AcctID='Tabungan';

CREATE TABLE IF NOT EXISTS useradmin (
  User      TEXT,
  Password  TEXT,
  Akses     TEXT
);

CREATE TABLE IF NOT EXISTS mastergaji (
  Kode      TEXT,
  Uraian    TEXT,
  Kriteria  TEXT,
  Tapel     TEXT
);

INSERT INTO useradmin (User, Password, Akses)
  SELECT 'ketua', '5927', '111111111111'
  WHERE NOT EXISTS (SELECT 1 FROM useradmin WHERE User = 'ketua');
