// Start-up state of a run and the three one-line configuration files:
//   conn.txt           database path;field 2;field 3       ("-" reads as an empty field)
//   setting_struk.txt  top margin;line spacing;default layout;font;prepaid flag
//   sekolah.txt        school name;address;phone;e-mail     (one input item, prepared outside the program)
// They are read under their relative names from the current working folder and written into the program folder, each
// line ending in carriage return and line feed. Of conn.txt and setting_struk.txt the last line counts.
#pragma once
#include <string>
#include <vector>

#include "common/settings_files.h"

class QDate;

// The receipt settings line written when setting_struk.txt is missing.
inline constexpr const char* kDefaultStrukLine = "15;150;0;Courier New;0";
// The month names in school-year order, July first, as one text; gMonthNames holds the same names at 1..12.
inline constexpr const char* kMonthNamesText =
    "Juli,Agustus,September,Oktober,Nopember,Desember,Januari,Februari,Maret,April,Mei,Juni";

// ----- start-up --------------------------------------------------------------------------------------------------
// Everything the program prepares before its first window, in this order: gPrinterKind = 0 and gMonthNames; gTapel
// from today's date; conn.txt; the database opened on gDbPath (a database that cannot be opened ends the process
// with exit code 1 after its message); the receipt settings.
void AppInitRun();

// gMonthNames := "" then Juli .. Juni (index n = school-year month n; index 0 unused).
void AppInitMonthNames();

// The school year a date falls in: July to December give year "/" year+1, January to June year-1 "/" year
// (30 June 2021 -> "2020/2021", 1 July 2021 -> "2021/2022").
std::string AppSchoolYearOf(int year, int month);
std::string AppSchoolYearOf(const QDate& date);
// gTapel := the school year of the clock's today.
void AppSetSchoolYearFromToday();

// Today (from the clock) as "yyyy-mm-dd".
std::string AppTodayText();

// The report period text of status part 7: "Setting Laporan Sekarang : Bulan " + the locale's full name of `month`
// (1..12) + " Tahun " + the last four characters of gTapel for months 1 to 6, else its first four.
std::string AppPeriodText(int month);

// ----- files -----------------------------------------------------------------------------------------------------

// conn.txt of the program folder (the one AppWriteConnFile writes), else of the working folder: the last line's field 1 into gDbPath (a "\" separator becomes "/"), fields 2 and 3
// into gConnField2 and gConnField3 ("-" held as the empty text). A missing file or one without lines gives three
// empty texts. A line without ";" gives the whole line for all three fields. A path between double quotes (as
// AppWriteConnFile writes one holding ";") is read whole, a doubled quote inside it as one; fields 2 and 3 follow it.
void AppReadConnFile();
// Writes conn.txt into the program folder: path ";" field 2 ";" field 3 (empty fields written empty). The path is
// written as it is, or, when it holds ";" or begins with a double quote, between double quotes with each double quote
// inside doubled. True when written.
bool AppWriteConnFile(const std::string& path, const std::string& field2, const std::string& field3);

// Parses one setting_struk.txt line into the five receipt globals: fields 1, 2, 3 and 5 read as numbers (the leading
// number, rounded half to even: "12.5" -> 12, "13.5" -> 14, letters -> 0), field 4 as it stands.
void AppParseStrukLine(const std::string& line);
// Reads setting_struk.txt: the program folder's file (the one every writer writes) when there is one; else the working
// folder's file when there is one; else the default line is written into the program folder and taken (the globals
// get the defaults also when writing fails). An existing file without lines gives 0, 0, 0, "" and 0.
void AppReadStrukSettings();
// Writes the program folder's setting_struk.txt from the globals, with `prepaid` as field 5 (numbers as plain
// digits); the prepaid and postpaid commands. True when written. The globals are not changed.
bool AppWriteStrukSettings(int prepaid);
// The "Prabayar" (1) and "Pasca Bayar" (0) commands: the whole line written with `prepaid` as field 5, then gPrepaid
// := prepaid (also when the file could not be written). No message.
void AppSetPrepaid(int prepaid);

// The first input item of a text: leading blanks and tabs skipped; an item that begins with a double quote runs to
// the next double quote (quotes not included, commas kept); otherwise it ends at the first comma, carriage return or
// line feed. At most 4096 bytes, never cut inside a UTF-8 character.
std::string AppReadInputItem(const std::string& text);
// sekolah.txt of the working folder, read as one input item split at ";" into gSchoolName, gSchoolAddress,
// gSchoolPhone and gSchoolEmail (a missing field reads as the whole item). A missing file gives four empty texts.
void AppReadSchoolFile();

// ----- database ---------------------------------------------------------------------------------------------------
// Opens gDb on gDbPath and prepares it (FinPrepareFinanceDatabase: a sound Finance database, in the rollback
// journal, with its indexes). When SQLite cannot open it, or it is no sound Finance database: a box "Tidak dapat
// membuka database: " + the reason, caption "Info", OK only; the connection is closed and the process ends with exit
// code 1 (AppExit).
void AppOpenDatabase();
