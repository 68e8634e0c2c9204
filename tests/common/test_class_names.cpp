// The grade ladder: next grade at promotion, school level, entry class, days of a month.
#include <gtest/gtest.h>

#include <string>

#include "app/globals.h"
#include "common/class_names.h"

namespace {

TEST(ClassNames, NextGradeOfEveryStep) {
  struct Case {
    const char* grade;
    const char* next;
  } cases[] = {
      {"PAUD", "PAUD Lulus"}, {"TK A", "TK B"},   {"TK B", "TK Lulus"},  {"I", "II"},       {"II", "III"},
      {"III", "IV"},          {"IV", "V"},        {"V", "VI"},           {"VI", "SD Lulus"}, {"VII", "VIII"},
      {"VIII", "IX"},         {"IX", "SMP Lulus"}, {"X", "XI"},          {"XI", "XII"},     {"XII", "SMA Lulus"},
  };
  for (const Case& c : cases) EXPECT_EQ(FinNextClass(c.grade), c.next) << c.grade;
}

TEST(ClassNames, NextGradeIsExact) {
  for (const char* other : {"xii", "XII A", " XII", "XII ", "Play Group", "TK", "SD Lulus", "DO", "", "XIII"})
    EXPECT_EQ(FinNextClass(other), "") << "[" << other << "]";
}

TEST(ClassNames, SchoolLevel) {
  for (const char* g : {"I", "II", "III", "IV", "V", "VI"}) EXPECT_EQ(FinSchoolLevel(g), "SD") << g;
  for (const char* g : {"VII", "VIII", "IX"}) EXPECT_EQ(FinSchoolLevel(g), "SMP") << g;
  for (const char* g : {"X", "XI", "XII"}) EXPECT_EQ(FinSchoolLevel(g), "SMA") << g;
  for (const char* g : {"TK A", "PAUD", "vii", "VII A", ""}) EXPECT_EQ(FinSchoolLevel(g), "") << g;
}

TEST(ClassNames, EntryClassCountsBackFromTheWorkingYear) {
  const std::string saved = gTapel;
  gTapel = "2021/2022";
  struct Case {
    const char* className;
    const char* entry;
  } cases[] = {
      {"XII IPA 1", "X IPA 1|2019/2020"},
      {"XI IPS", "X IPS|2020/2021"},
      {"IX C", "VII C|2019/2020"},
      {"VIII B", "VII B|2020/2021"},
      {"VII A", ""},
      {"X A", ""},
      {"XII", ""},        // no blank: no parallel to carry
      {"VI A", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FinEntryClassOf(c.className), c.entry) << c.className;
  gTapel = saved;
}

TEST(ClassNames, DaysInMonth) {
  struct Case {
    int month, year;
    const char* days;
  } cases[] = {
      {1, 2023, "31"},  {2, 2023, "28"}, {2, 2024, "29"}, {2, 1900, "28"}, {2, 2000, "29"}, {4, 2023, "30"},
      {6, 2023, "30"},  {7, 2023, "31"}, {9, 2023, "30"}, {11, 2023, "30"}, {12, 2023, "31"},
  };
  for (const Case& c : cases) EXPECT_EQ(FinDaysInMonth(c.month, c.year), c.days) << c.month << "/" << c.year;
}

}  // namespace
