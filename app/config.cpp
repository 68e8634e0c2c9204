#include "app/config.h"

#include <QDate>
#include <QLocale>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/globals.h"
#include "common/busy.h"
#include "common/database.h"
#include "framework/numbers.h"
#include "framework/strings.h"
#include "framework/system_wrappers.h"
#include "platform/seams.h"

namespace {

constexpr std::size_t kMaxInputItem = 4096;

// The last line of a file; "" when the file is missing or holds no line.
std::string LastLine(const std::string& path) {
  std::vector<std::string> lines;
  if (!AppReadLines(path, lines) || lines.empty()) return "";
  return lines.back();
}

int FieldNumber(const std::string& line, int n) {
  long long v = RoundHalfEven(Val(StrParse(line, ";", n)));
  if (v > INT_MAX) v = INT_MAX;
  if (v < INT_MIN) v = INT_MIN;
  return static_cast<int>(v);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// A settings file to read: the program folder's `name`, else the working folder's; "" when neither folder has one.
std::string SettingsFile(const std::string& name) {
  const std::string programFile = AppProgramFile(name);
  if (FileExists(programFile)) return programFile;
  return FileExists(name) ? name : std::string();
}

// The path as field 1 of conn.txt: as it is, or, when it holds ";" or begins with a double quote, between double
// quotes with each double quote inside doubled.
std::string ConnPathField(const std::string& path) {
  if (path.find(';') == std::string::npos && (path.empty() || path[0] != '"')) return path;
  return "\"" + StrReplace(path, "\"", "\"\"") + "\"";
}

// A line that begins with a quoted field: its text (doubled quotes read as one) into `path`, the position after the
// closing quote into `after` (the end of the line or a ";"). False, with nothing set, for any other line.
bool ReadQuotedPath(const std::string& line, std::string& path, std::size_t& after) {
  if (line.empty() || line[0] != '"') return false;
  std::string text;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] != '"') {
      text += line[i];
      continue;
    }
    if (i + 1 < line.size() && line[i + 1] == '"') {   // a doubled quote stands for one
      text += '"';
      ++i;
      continue;
    }
    if (i + 1 < line.size() && line[i + 1] != ';') return false;   // not a quoted field after all
    path = text;
    after = i + 1;
    return true;
  }
  return false;   // no closing quote: read as written
}

}  // namespace

void AppInitMonthNames() {
  std::vector<std::string> names;
  StrSplit(kMonthNamesText, ",", names);
  names[0] = "";
  gMonthNames = names;
}

std::string AppSchoolYearOf(int year, int month) {
  if (month >= 7) return std::to_string(year) + "/" + std::to_string(year + 1);
  return std::to_string(year - 1) + "/" + std::to_string(year);
}

std::string AppSchoolYearOf(const QDate& date) { return AppSchoolYearOf(date.year(), date.month()); }

void AppSetSchoolYearFromToday() { gTapel = AppSchoolYearOf(platform::Today()); }

std::string AppTodayText() { return FmtDateNow("yyyy-MM-dd"); }

std::string AppPeriodText(int month) {
  std::string name = QLocale().monthName(month, QLocale::LongFormat).toStdString();
  if (name.empty()) name = QLocale::c().monthName(month, QLocale::LongFormat).toStdString();
  std::string year;
  if (month >= 1 && month <= 6)
    year = gTapel.size() > 4 ? gTapel.substr(gTapel.size() - 4) : gTapel;
  else
    year = gTapel.substr(0, 4);
  return "Setting Laporan Sekarang : Bulan " + name + " Tahun " + year;
}

void AppReadConnFile() {
  // The program folder's file, which the database connection window writes: a database chosen there is the one the
  // next start opens, whatever the working folder is. A working folder's file is read where the program folder has
  // none.
  const std::string line = LastLine(SettingsFile("conn.txt"));
  std::string path, f2, f3;
  std::size_t after = 0;
  if (ReadQuotedPath(line, path, after)) {
    // A path written between double quotes (it holds ";"); the two further fields follow it.
    const std::string rest = after < line.size() ? line.substr(after + 1) : std::string();
    f2 = StrParse(rest, ";", 1);
    f3 = StrParse(rest, ";", 2);
  } else {
    path = StrParse(line, ";", 1);
    f2 = StrParse(line, ";", 2);
    f3 = StrParse(line, ";", 3);
  }
  if (f2 == "-") f2.clear();
  if (f3 == "-") f3.clear();
  gDbPath = StrReplace(path, "\\", "/");
  gConnField2 = f2;
  gConnField3 = f3;
}

bool AppWriteConnFile(const std::string& path, const std::string& field2, const std::string& field3) {
  return AppWriteLineFile(AppProgramFile("conn.txt"), ConnPathField(path) + ";" + field2 + ";" + field3);
}

void AppParseStrukLine(const std::string& line) {
  gStrukTopMargin = FieldNumber(line, 1);
  gStrukLineSpacing = FieldNumber(line, 2);
  gStrukDefaultType = FieldNumber(line, 3);
  gStrukFont = StrParse(line, ";", 4);
  gPrepaid = FieldNumber(line, 5);
}

void AppReadStrukSettings() {
  // The program folder's file, which the receipt settings window and the prepaid and postpaid commands write: the
  // settings survive a restart whatever the working folder is. A working folder's file is read only where the
  // program folder has none yet.
  if (const std::string file = SettingsFile("setting_struk.txt"); !file.empty()) {
    AppParseStrukLine(LastLine(file));
    return;
  }
  AppWriteLineFile(AppProgramFile("setting_struk.txt"), kDefaultStrukLine);
  AppParseStrukLine(kDefaultStrukLine);
}

bool AppWriteStrukSettings(int prepaid) {
  return AppWriteStrukLine(std::to_string(gStrukTopMargin) + ";" + std::to_string(gStrukLineSpacing) + ";" +
                           std::to_string(gStrukDefaultType) + ";" + gStrukFont + ";" + std::to_string(prepaid));
}

void AppSetPrepaid(int prepaid) {
  AppWriteStrukSettings(prepaid);
  gPrepaid = prepaid;
}

std::string AppReadInputItem(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string item;
  if (i < text.size() && text[i] == '"') {
    std::size_t close = text.find('"', i + 1);
    item = text.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
  } else {
    std::size_t end = text.find_first_of(",\r\n", i);
    item = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
  }
  if (item.size() > kMaxInputItem) {
    std::size_t n = kMaxInputItem;
    while (n > 0 && (static_cast<unsigned char>(item[n]) & 0xC0) == 0x80) --n;
    item.resize(n);
  }
  return item;
}

void AppReadSchoolFile() {
  std::string text;
  if (!AppReadWholeFile("sekolah.txt", text)) {
    gSchoolName.clear();
    gSchoolAddress.clear();
    gSchoolPhone.clear();
    gSchoolEmail.clear();
    return;
  }
  const std::string item = AppReadInputItem(text);
  gSchoolName = StrParse(item, ";", 1);
  gSchoolAddress = StrParse(item, ";", 2);
  gSchoolPhone = StrParse(item, ";", 3);
  gSchoolEmail = StrParse(item, ";", 4);
}

void AppOpenDatabase() {
  std::string message;
  gDb = FinOpenDatabase(gDbPath, message);
  // An empty or foreign file is refused here, as the connection window refuses it, not by a login that fails later. An
  // old file gets its indexes on its first start, which takes a while.
  if (gDb) {
    FinBusy busy(FinBusyTask::Indexes);
    if (FinPrepareFinanceDatabase(gDb, message)) return;
  }
  sqlite3_close(gDb);
  gDb = nullptr;
  MsgBox("Tidak dapat membuka database: " + message, "Info", MB_OK);
  AppExit(1);
}

void AppInitRun() {
  gPrinterKind = 0;
  AppInitMonthNames();
  AppSetSchoolYearFromToday();
  AppReadConnFile();
  AppOpenDatabase();
  AppReadStrukSettings();
}
