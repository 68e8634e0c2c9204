#include "common/print_request.h"

#include <QDate>

#include <filesystem>
#include <optional>

#include "common/numbers_words.h"
#include "common/receipt.h"
#include "common/session.h"
#include "common/settings.h"
#include "common/settings_files.h"
#include "common/text_print_notice.h"
#include "framework/controls.h"
#include "framework/form_runtime.h"
#include "framework/numbers.h"
#include "framework/printer.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "platform/print_backend.h"
#include "platform/seams.h"
#include "platform/text_printer.h"

Hwnd gForm3Window = 0;

namespace {

const std::string kPaymentRule = "   " + std::string(60, '-') + "-----------";
const std::string kSavingsRule = "   " + std::string(50, '-') + "--------";

// "   " + blanks + label, so that every amount after the label ends in the same column.
std::string AmountLabel(const std::string& label) {
  long blanks = 61 - static_cast<long>(label.size());
  return "   " + std::string(blanks > 0 ? blanks : 0, ' ') + label;
}

std::int32_t WholeAmount(const std::string& text) {
  long long v = RoundHalfEven(Val(text));
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<std::int32_t>(v);
}

std::string Without(std::string s, char c) {
  std::erase(s, c);
  return s;
}

std::string SchoolPhoneLine(const PrintRequestContext& ctx) {
  return "   Telp. " + ctx.schoolPhone + " Email. " + ctx.schoolEmail;
}

PrintRequestContext CurrentContext() {
  PrintRequestContext ctx;
  ctx.schoolName = gSchoolName;
  ctx.schoolAddress = gSchoolAddress;
  ctx.schoolPhone = gSchoolPhone;
  ctx.schoolEmail = gSchoolEmail;
  ctx.today = gToday;
  ctx.printDate = platform::Today().toString(QStringLiteral("dd-MM-yyyy")).toStdString();
  ctx.statusDate = SbGetText(gStatusBar, 4);
  ctx.statusTime = SbGetText(gStatusBar, 5);
  ctx.operatorName = SbGetText(gStatusBar, 1);
  return ctx;
}

}  // namespace

std::string FinRequestField(const std::string& source, const std::string& delimiter, int n) {
  if (n < 1) return "";
  if (delimiter.empty()) return n == 1 ? source : "";
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    std::size_t p = source.find(delimiter, start);
    if (p == std::string::npos) return "";
    start = p + delimiter.size();
  }
  std::size_t end = source.find(delimiter, start);
  return source.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string FinStarPad10(const std::string& value) {
  return value.size() >= 10 ? value : std::string(10 - value.size(), '*') + value;
}

std::vector<std::string> FinRequestPaymentLines(const std::string& line, const PrintRequestContext& ctx) {
  const std::string head = FinRequestField(line, "|", 1);
  const std::string itemsField = FinRequestField(line, "|", 2);
  const std::string totals = FinRequestField(line, "|", 3);
  std::vector<std::string> items;
  StrSplit(itemsField, "$", items);
  // The count field may claim more items than the request holds: print only those it holds.
  long long claimed = RoundHalfEven(Val(FinRequestField(line, "|", 4)));
  long long held = static_cast<long long>(items.size()) - 1;
  long long n = claimed < 0 ? 0 : std::min(claimed, held);

  std::vector<std::string> out;
  out.push_back("   " + ctx.schoolName);
  out.push_back("   " + ctx.schoolAddress);
  out.push_back(SchoolPhoneLine(ctx));
  out.push_back(kPaymentRule);
  out.push_back("   Nama Siswa : " + FinRequestField(head, ";", 1) + "; Kls : " + FinRequestField(head, ";", 2));
  out.push_back(kPaymentRule);
  out.push_back("");
  for (long long k = 1; k <= n; ++k) {
    const std::string& item = items[static_cast<std::size_t>(k)];
    char num[8];
    std::snprintf(num, sizeof num, "%03lld", k % 1000);
    out.push_back("   " + std::string(num) + Utf8PadRight(FinRequestField(item, ";", 1), 55) + "Rp." +
                  FinStarPad10(FinRequestField(item, ";", 2)));
  }
  out.push_back(kPaymentRule);
  out.push_back(AmountLabel("                      Total : Rp.") + FinStarPad10(FinRequestField(totals, ";", 1)));
  out.push_back(kPaymentRule);
  out.push_back("   " + FinSpellNumber(WholeAmount(FinRequestField(totals, ";", 2))));
  out.push_back(AmountLabel("Penerima              Potongan : Rp.") + FinStarPad10(FinRequestField(totals, ";", 3)));
  out.push_back(AmountLabel("                      Jml. Bersih : Rp.") + FinStarPad10(FinRequestField(totals, ";", 2)));
  out.push_back(AmountLabel("                      Dibayar : Rp.") + FinStarPad10(FinRequestField(totals, ";", 4)));
  out.push_back(AmountLabel("(__________)          Kembali : Rp.") + FinStarPad10(FinRequestField(totals, ";", 5)));
  out.push_back("");
  out.push_back("   Dicetak tanggal " + ctx.printDate + " " + ctx.statusTime);
  out.push_back("   Oleh operator : " + ctx.operatorName);
  return out;
}

std::vector<std::string> FinRequestSavingsLines(const std::string& line, const PrintRequestContext& ctx) {
  const std::string who = FinRequestField(line, "|", 2);
  const std::string money = FinRequestField(line, "|", 3);
  const std::string kind = FinRequestField(money, ";", 1);
  const std::string cash = FinRequestField(money, ";", 4);
  const std::string margin(47, ' ');
  return {
      "",
      "   " + ctx.schoolName,
      "   " + ctx.schoolAddress,
      SchoolPhoneLine(ctx),
      kSavingsRule,
      "   Nama Nasabah           : " + FinRequestField(who, ";", 2) + " - " + FinRequestField(who, ";", 3),
      "   STRUK TABUNGAN NO.     : " + FinRequestField(who, ";", 1) + Without(ctx.today, '-') +
          Without(ctx.statusTime, ':'),
      std::string("   Transaksi Id / Sandi   : ") + (kind == "setor" ? "01 Setoran Tunai" : "02 Tarikan Tunai"),
      kSavingsRule,
      "   Jumlah Saldo yang lalu : Rp." + FinStarPad10(FinRequestField(money, ";", 2)),
      "   Jumlah Tunai           : Rp." + FinStarPad10(cash),
      "   Jumlah Saldo Terakhir  : Rp." + FinStarPad10(FinRequestField(money, ";", 3)),
      kSavingsRule,
      "   Terbilang " + FinSpellNumber(WholeAmount(cash)) + " rupiah",
      margin + "Disahkan oleh",
      "",
      "",
      "",
      margin + "( __________ )",
      "   Print : " + ctx.statusDate + " - " + ctx.statusTime + " by : " + ctx.operatorName,
  };
}

namespace {

// A request printed whose file could not be deleted afterwards: its lines and the time it was last written. The same
// file is not printed again at every tick; a file written anew is a new request.
struct PrintedRequest {
  std::vector<std::string> lines;
  std::filesystem::file_time_type written;
};
std::optional<PrintedRequest>& Undeleted() {
  static std::optional<PrintedRequest> r;
  return r;
}

}  // namespace

bool FORM3_ProcessPrintRequest() {
  const std::string path = platform::ProgramFolderPath() + "/cetak/ctk.txt";
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    Undeleted().reset();
    return false;
  }
  std::vector<std::string> requestLines;
  AppReadLines(path, requestLines);
  const std::filesystem::file_time_type written = std::filesystem::last_write_time(path, ec);
  if (Undeleted() && Undeleted()->lines == requestLines && Undeleted()->written == written) return false;   // printed already
  const std::string last = requestLines.empty() ? std::string() : requestLines.back();
  const std::string kind = FinRequestField(last, "|", 1);
  platform::TextPrinter prn;   // the savings receipt's job
  std::string kept;            // the receipt's PDF file when the system has no printer
  if (kind == "BK") {
    kept = FinPrintReceipt(FinRequestField(last, "|", 2), FinRequestField(last, "|", 3), FinRequestField(last, "|", 4),
                           WholeAmount(FinRequestField(last, "|", 5)), FinRequestField(last, "|", 6),
                           FinRequestField(last, "|", 7));
  } else if (kind == "TB") {
    // The savings receipt goes to the default printer as plain text.
    if (prn.Open(platform::DefaultPrinterName())) {
      for (const std::string& l : FinRequestSavingsLines(last, CurrentContext())) prn.WriteLine(l);
      prn.Close();
    }
  } else {
    const int step = gPrinterKind >= 1 ? 150 : 300;
    PrinterContext ctx;
    PrnInit(ctx);
    if (PrnStartDoc(ctx, "Struk") > 0) {
      PrnStartPage(ctx);
      PrnSetFont(ctx, "Courier New", 12, 0x000000);
      const auto lines = FinRequestPaymentLines(last, CurrentContext());
      for (std::size_t i = 0; i < lines.size(); ++i)
        if (!lines[i].empty()) PrnText(ctx, 10, static_cast<int>(i + 1) * step, lines[i]);
      PrnEndPage(ctx);
      PrnEndDoc(ctx);
      kept = PrnKeptIn(ctx);
    }
  }
  std::filesystem::remove(path, ec);
  if (std::filesystem::exists(path, ec)) {
    // Remembered before the operator is told, so that no tick during the message prints it again.
    Undeleted() = PrintedRequest{requestLines, written};
    MsgBox(gForm3Window,
           "Permintaan cetak sudah dicetak, tetapi file " + path +
               " tidak dapat dihapus; permintaan itu tidak dicetak lagi sampai file tersebut diganti..",
           "Info", MB_OK);
  } else {
    Undeleted().reset();
  }
  // Told after the request is gone or remembered, so that no tick during the message prints it again.
  if (kind == "TB") FinTellTextKeptInFile(prn);
  FinTellPrintKeptInFiles({kept});
  return true;
}

// ----- the poller window ---------------------------------------------------------------------------------------

namespace {

enum : int { IDC_FORM3_LABEL = 1000, IDC_FORM3_TUTUP = 1001 };
constexpr unsigned kForm3TimerId = 1;

Hwnd gForm3Label = 0;
Hwnd gForm3TutupButton = 0;

LResult FORM3_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam);

LResult FORM3_CtlSubclassProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  return FrmControlMessage(hwnd, msg, wParam, lParam);
}

void FORM3_CreateControls(Hwnd form) {
  gForm3Label = FrmAddControl(form, "Static", "Form Cetak dari web service mobile telah aktif", WS_CHILD | WS_VISIBLE,
                              0, 24, 8, 426, 24, IDC_FORM3_LABEL, FORM3_CtlSubclassProc, "Arial Unicode MS,9,0");
  gForm3TutupButton = FrmAddControl(form, "Button", "Tutup", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0,
                                    304, 48, 127, 24, IDC_FORM3_TUTUP, FORM3_CtlSubclassProc, "Arial Unicode MS,9,0");
}

LResult FORM3_OnCreate(Hwnd form, std::intptr_t) {
  std::error_code ec;
  std::filesystem::create_directories(platform::ProgramFolderPath() + "/cetak", ec);
  WinSetTimer(form, kForm3TimerId, 500, nullptr);
  return 0;
}

FrmForm gForm3 = {
    .name = "FORM3",
    .wndProc = FORM3_WndProc,
    .window = &gForm3Window,
    .createControls = FORM3_CreateControls,
    .onCreate = FORM3_OnCreate,
    .caption = "Form Cetak",
    .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
    .width = 476,
    .height = 127,
};

LResult FORM3_WndProc(Hwnd hwnd, unsigned msg, WParam wParam, LParam lParam) {
  LResult r = 0;
  if (FrmFormMessage(gForm3, hwnd, msg, wParam, lParam, &r)) return r;
  if (msg == WM_TIMER && wParam == kForm3TimerId) {
    FORM3_ProcessPrintRequest();
    return 0;
  }
  if (msg == WM_COMMAND && LOWORD(wParam) == IDC_FORM3_TUTUP && HIWORD(wParam) == BN_CLICKED) {
    FrmClose(hwnd, 0);
    return 0;
  }
  return WinDefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

int FORM3_Show(Hwnd parent, int modal, int userData) {
  return static_cast<int>(FrmShowForm(gForm3, parent, modal, userData));
}
