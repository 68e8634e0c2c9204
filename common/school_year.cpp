#include "common/school_year.h"

#include <charconv>

#include "framework/numbers.h"

std::string AppYearNumber(double v) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, res.ptr);
}

std::string AppStepSchoolYear(const std::string& yearText, int step) {
  const std::string first = yearText.substr(0, 4);
  const std::string last = yearText.size() > 4 ? yearText.substr(yearText.size() - 4) : yearText;
  return AppYearNumber(Val(first) + step) + "/" + AppYearNumber(Val(last) + step);
}
