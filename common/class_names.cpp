#include "common/class_names.h"

#include <cstddef>

#include "common/session.h"
#include "framework/numbers.h"

namespace {

struct GradeStep {
  const char* grade;
  const char* next;
};

const GradeStep kLadder[] = {
    {"PAUD", "PAUD Lulus"}, {"TK A", "TK B"}, {"TK B", "TK Lulus"}, {"I", "II"},      {"II", "III"},
    {"III", "IV"},          {"IV", "V"},      {"V", "VI"},          {"VI", "SD Lulus"}, {"VII", "VIII"},
    {"VIII", "IX"},         {"IX", "SMP Lulus"}, {"X", "XI"},       {"XI", "XII"},    {"XII", "SMA Lulus"},
};

}  // namespace

std::string FinNextClass(const std::string& grade) {
  for (const GradeStep& s : kLadder)
    if (grade == s.grade) return s.next;
  return "";
}

std::string FinSchoolLevel(const std::string& grade) {
  if (grade == "I" || grade == "II" || grade == "III" || grade == "IV" || grade == "V" || grade == "VI") return "SD";
  if (grade == "VII" || grade == "VIII" || grade == "IX") return "SMP";
  if (grade == "X" || grade == "XI" || grade == "XII") return "SMA";
  return "";
}

std::string FinEntryClassOf(const std::string& className) {
  const std::size_t blank = className.find(' ');
  if (blank == std::string::npos) return "";
  const std::string grade = className.substr(0, blank);
  const std::string rest = className.substr(blank);   // the blank included
  const std::string firstYear = gTapel.substr(0, 4);
  const long long y = RoundHalfEven(Val(firstYear));
  auto years = [](long long a, long long b) { return std::to_string(a) + "/" + std::to_string(b); };
  if (grade == "XII") return "X" + rest + "|" + years(y - 2, y - 1);
  if (grade == "XI") return "X" + rest + "|" + std::to_string(y - 1) + "/" + firstYear;
  if (grade == "IX") return "VII" + rest + "|" + years(y - 2, y - 1);
  if (grade == "VIII") return "VII" + rest + "|" + std::to_string(y - 1) + "/" + firstYear;
  return "";
}

std::string FinDaysInMonth(int month, int year) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return "";
  int days = kDays[month - 1];
  if (month == 2) {
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (leap) days = 29;
  }
  return std::to_string(days);
}
