// Printing through a real CUPS print system: a payment receipt on the default queue (a cups-pdf queue) through the
// system printer back end, read back from the PDF that comes out; and a savings passbook page through the raw text
// printer back end on a queue whose device is a file, read back as text, after a run on a queue that does not exist,
// which marks nothing printed. scripts/test-cups starts such a CUPS (.ci/run does, and stops it afterwards); without
// one these tests are skipped and say why.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/globals.h"
#include "common/globals.h"
#include "framework/controls.h"
#include "framework/window_system.h"
#include "payments/receipt_print.h"
#include "platform/print_backend.h"
#include "platform/text_printer.h"
#include "savings/savings_globals.h"
#include "savings/savings_print.h"
#include "savings/savings_teller_window.h"
#include "support/fixtures.h"
#include "support/operator.h"
#include "support/seams_fixture.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// How long a job may take to come out of the print system.
constexpr int kJobWaitMs = 60000;

struct Output {
  int exitCode = -1;   // -1: the program is missing or did not end
  std::string out;
};

Output RunProgram(const std::string& program, const std::vector<std::string>& args) {
  Output o;
  const QString exe = QStandardPaths::findExecutable(QString::fromStdString(program));
  if (exe.isEmpty()) return o;
  QStringList list;
  for (const std::string& a : args) list << QString::fromStdString(a);
  QProcess p;
  p.setStandardInputFile(QProcess::nullDevice());
  p.start(exe, list);
  if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit) {
    p.kill();
    p.waitForFinished(5000);
    return o;
  }
  o.exitCode = p.exitCode();
  o.out = p.readAllStandardOutput().toStdString();
  return o;
}

// Why CUPS cannot be used, or nothing when a scheduler answers.
std::optional<std::string> NoCups() {
  const Output r = RunProgram("lpstat", {"-r"});
  if (r.exitCode < 0) return "the print system's tools (lpstat) are not installed";
  if (r.exitCode != 0 || r.out.find("is running") == std::string::npos)
    return "no CUPS scheduler answers (scripts/test-cups start runs one)";
  return std::nullopt;
}

// The device of a queue as `lpstat -v` names it ("cups-pdf:/", "file:///var/...", shown as "///var/..."); empty
// when the queue does not exist.
std::string DeviceOf(const std::string& queue) {
  const Output r = RunProgram("lpstat", {"-v", queue});
  const std::string head = "device for " + queue + ": ";
  if (r.exitCode != 0 || r.out.compare(0, head.size(), head) != 0) return {};
  std::string device = r.out.substr(head.size());
  while (!device.empty() && (device.back() == '\n' || device.back() == '\r')) device.pop_back();
  return device;
}

// The file a "file:" device writes, or empty for another device.
std::string FileOfDevice(std::string device) {
  if (device.rfind("file:", 0) == 0) device.erase(0, 5);
  if (device.empty() || device[0] != '/') return {};
  while (device.size() > 1 && device[1] == '/') device.erase(0, 1);
  return device;
}

// The folder cups-pdf writes into for the user who prints: "Out" of /etc/cups/cups-pdf.conf, ${HOME}/PDF by default.
std::string PdfFolder() {
  std::string out = "${HOME}/PDF";
  std::istringstream conf(fintest::ReadFile("/etc/cups/cups-pdf.conf"));
  for (std::string line; std::getline(conf, line);)
    if (line.rfind("Out ", 0) == 0) out = line.substr(4);
  const passwd* pw = getpwuid(getuid());
  const std::string home = pw && pw->pw_dir ? pw->pw_dir : "";
  const std::string user = pw && pw->pw_name ? pw->pw_name : "";
  for (const auto& [name, value] : {std::pair<std::string, std::string>{"${HOME}", home}, {"${USER}", user}})
    for (std::size_t at; (at = out.find(name)) != std::string::npos;) out.replace(at, name.size(), value);
  return out;
}

// The words of a text, one blank between them.
std::string Words(const std::string& text) {
  std::istringstream in(text);
  std::string out;
  for (std::string w; in >> w;) out += (out.empty() ? "" : " ") + w;
  return out;
}

std::set<std::string> PdfFiles(const std::string& folder) {
  std::set<std::string> files;
  std::error_code ec;
  for (const auto& e : std::filesystem::directory_iterator(folder, ec))
    if (e.path().extension() == ".pdf") files.insert(e.path().string());
  return files;
}

// ----- a payment receipt on the default printer ---------------------------------------------------------------------

class CupsPdfTest : public fintest::SeamsTest {
 protected:
  void SetUp() override {
    if (auto why = NoCups()) GTEST_SKIP() << *why;
    if (RunProgram("pdftotext", {"-v"}).exitCode < 0) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    platform::SetPrintBackendForTests(platform::MakeSystemPrintBackend());
    queue_ = platform::DefaultPrinterName();
    if (queue_ == platform::kPdfPrinterName) GTEST_SKIP() << "CUPS has no default printer";
    if (DeviceOf(queue_).rfind("cups-pdf:", 0) != 0)
      GTEST_SKIP() << "the default printer " << queue_ << " is no cups-pdf queue";
    folder_ = PdfFolder();
  }
  void TearDown() override {
    for (const std::string& f : made_) std::filesystem::remove(f);
  }

  std::string queue_, folder_;
  std::vector<std::string> made_;
};

TEST_F(CupsPdfTest, APaymentReceiptComesOutOfTheDefaultPrinterAsAPdf) {
  // A name no earlier job has had: the PDF is named after the document, which is named after the student.
  const std::string token = "Uji" + std::to_string(getpid());
  PaymentReceipt r;
  r.saved = true;
  r.layout = kReceiptHalfSheet;
  r.studentId = "S01";
  r.name = "Siti " + token;
  r.kelas = "VII A";
  r.items = {{"1", "SPP7A", "SPP Juli", 150000}, {"2", "BUKU7", "Buku Paket", 1250000}};
  r.total = 1400000;
  r.net = 1400000;
  r.paid = 1500000;
  r.change = 100000;
  r.today = "2024-09-02";
  r.tapel = "2024/2025";
  r.operatorName = "kasir";
  r.clock = "10:15:30";
  r.printDate = "02-09-2024";
  r.schoolName = "SD HARAPAN BANGSA";
  r.schoolAddress = "Jl. Merdeka No. 5";
  r.schoolPhone = "022-555123";
  r.schoolEmail = "tu@harapan.sch.id";
  r.font = "Liberation Mono";
  r.programFolder = programDir();
  const std::set<std::string> before = PdfFiles(folder_);
  PrintPaymentReceipt(r);

  // The job goes through the print system; its PDF appears in the folder once cups-pdf has written it whole.
  std::string pdf;
  Output text;
  const bool came = QTest::qWaitFor(
      [&] {
        for (const std::string& f : PdfFiles(folder_))
          if (!before.count(f) && f.find(token) != std::string::npos) {
            pdf = f;
            text = RunProgram("pdftotext", {"-layout", f, "-"});
            return text.exitCode == 0 && text.out.find("Oleh operator") != std::string::npos;
          }
        return false;
      },
      kJobWaitMs);
  if (!pdf.empty()) made_.push_back(pdf);
  ASSERT_TRUE(came) << "no PDF of the receipt in " << folder_ << " (queue " << queue_ << ")";
  EXPECT_FALSE(std::filesystem::exists(WorkFile("cetak")));   // it went to the printer, not to a file of our own
  // The receipt's lines, as the half sheet lays them out (blanks read back from a PDF are compared as one).
  std::vector<std::string> lines;
  std::istringstream in(text.out);
  for (std::string line; std::getline(in, line);) lines.push_back(Words(line));
  const std::vector<std::string> wanted = {
      "SD HARAPAN BANGSA",
      "Jl. Merdeka No. 5",
      "Telp. 022-555123 Email. tu@harapan.sch.id",
      "Nama Siswa : Siti " + token + "; Kls : VII A",
      "Total : Rp.*1.400.000",
      "Dibayar : Rp.*1.500.000",
      "Kembali : Rp.***100.000",
      "Dicetak tanggal 02-09-2024 10:15:30",
      "Oleh operator : kasir",
  };
  for (const std::string& w : wanted) {
    bool found = false;
    for (const std::string& l : lines) found = found || l.find(Words(w)) != std::string::npos;
    EXPECT_TRUE(found) << "not in the PDF: " << w << "\n" << text.out;
  }
  bool items = false;
  for (const std::string& l : lines)
    items = items || (l.find("SPP Juli") != std::string::npos && l.find("Rp.***150.000") != std::string::npos);
  EXPECT_TRUE(items) << text.out;
}

// ----- a passbook page on a raw text queue ---------------------------------------------------------------------------

class CupsRawTest : public fintest::SeamsTest {
 protected:
  static constexpr const char* kQueue = "RAW";

  void SetUp() override {
    if (auto why = NoCups()) GTEST_SKIP() << *why;
    file_ = FileOfDevice(DeviceOf(kQueue));
    if (file_.empty()) GTEST_SKIP() << "CUPS has no queue " << kQueue << " whose device is a file";
    std::filesystem::remove(file_);   // what an earlier job left
    platform::SetTextPrinterCommandRunnerForTests(nullptr);
    platform::SetTextPrinterBackendForTests(platform::MakeSystemTextPrinterBackend());

    gDb = fintest::CreateDatabase(WorkFile("data.db3"));
    gTapel = "2020/2021";
    gToday = "2021-03-05";
    gSchoolName = "SD HARAPAN BANGSA";
    holder_ = new QWidget;
    gStatusBar = WinCreateControl(0, "msctls_statusbar32", "", WS_CHILD | WS_VISIBLE, 0, 0, 800, 20,
                                  WinHandle(holder_), 4999);
    SbSetParts(gStatusBar, {100, 200, 300, 400, 500, 600, -1});
    SbSetText(gStatusBar, 1, "ani", 0);
    SbSetText(gStatusBar, 5, "09:05:07", 0);
    fintest::Exec(gDb,
                  "INSERT INTO siswa (Id, Nama) VALUES ('20016', 'SITI RAHAYU');"
                  "INSERT INTO transaksi (id, tgl, uraian, acctid, siswaid, masuk, keluar, petugas, sts, jenjang, Ref)"
                  " VALUES ('2001620210301080000', '2021-03-01', '01-Setoran Tunai', 'Tabungan', '20016', 100, 0,"
                  "  'ani', '-', '-', '1-1'),"
                  " ('2001620210303080000', '2021-03-03', '02-Penarikan Tunai', 'Tabungan', '20016', 0, 30, 'ani',"
                  "  't', '-', '1-2');");
  }
  void TearDown() override {
    if (IsWindow(gFormTabunganWindow)) WinDestroyWindow(gFormTabunganWindow);
    gStatusBar = 0;
    delete holder_;
    holder_ = nullptr;
    gToday.clear();
    gSchoolName.clear();
    if (gDb) sqlite3_close(gDb);
    gDb = nullptr;
    if (!file_.empty()) std::filesystem::remove(file_);
  }
  Rows Sts() {
    return fintest::Query(gDb, "SELECT sts FROM transaksi WHERE siswaid='20016' AND acctid='Tabungan' ORDER BY id");
  }

  std::string file_;
  QWidget* holder_ = nullptr;
};

TEST_F(CupsRawTest, APassbookPageGoesToTheQueueAsRawTextAndOnlyThenIsMarkedPrinted) {
  ASSERT_TRUE(IsWindow(static_cast<Hwnd>(FORMTABUNGAN_Show(0, 0, 0))));
  CtlSetText(gFormTabunganIdEdit, "20016");
  CtlSetText(gFormTabunganSandiEdit, "01");
  CtlSetText(gFormTabunganAmountEdit, "50000");
  ExpectMsgBox("Nasabah atas nama SITI RAHAYU melakukan transaksi 01-Setoran Tunai sebesar 50000", "Simpan Transaksi",
               IDYES, MB_YESNO | MB_ICONQUESTION);
  ExpectMsgBox("Transaksi berhasil disimpan..", "Tabungan..", IDOK, MB_OK | MB_ICONINFORMATION);
  fintest::Click(gFormTabunganSaveButton);
  VerifySeams();
  CbSetCurSel(gFormTabunganPrintCombo, 0);

  // A queue the print system does not know: the text is kept in a file, nothing is marked printed.
  AnswerPrinter("TIDAK_ADA");
  ExpectMsgBox("Tidak ada yang tercetak ke printer. Teks cetakan disimpan di " +
                   WorkFile("cetak/TIDAK_ADA_20240902_101530.txt") + "..",
               "Info", IDOK, MB_OK | MB_ICONINFORMATION);
  fintest::Click(gFormTabunganPrintButton);
  VerifySeams();
  EXPECT_EQ(Sts(), (Rows{{"-"}, {"t"}, {"t"}}));
  EXPECT_FALSE(std::filesystem::exists(file_));

  // The raw queue: the passbook lines come out of its device byte for byte, and the rows are marked.
  AnswerPrinter(kQueue);
  fintest::Click(gFormTabunganPrintButton);
  VerifySeams();
  // From the oldest unprinted row at 1-2: the paper brought down four lines, then the two rows.
  const std::string expected =
      "`\r\n`\r\n`\r\n`\r\n" +
      SavingsPassbookRowLine({"2021-03-03", "02", "30", "0", "70", "1-2", "t", "Penarikan Tunai"}) + "\r\n" +
      SavingsPassbookRowLine({"2021-03-05", "01", "0", "50000", "50070", "1-3", "t", "Setoran Tunai"}) + "\r\n";
  std::string got;
  const bool came = QTest::qWaitFor(
      [&] {
        QFile f(QString::fromStdString(file_));
        if (!f.open(QIODevice::ReadOnly)) return false;
        got = f.readAll().toStdString();
        return got.size() >= expected.size();
      },
      kJobWaitMs);
  ASSERT_TRUE(came) << "nothing came out of " << file_;
  EXPECT_EQ(got, expected);
  EXPECT_EQ(fintest::ReadFile(WorkFile("cetak/TIDAK_ADA_20240902_101530.txt")), expected);
  EXPECT_EQ(Sts(), (Rows{{"-"}, {"-"}, {"-"}}));
}

}  // namespace
