// The school's grade ladder: the grade after promotion, the school level of a grade, the entry class of a second- or
// third-year class, and the days of a month. Comparisons are exact (whole text, case-sensitive).
#pragma once
#include <string>

// The grade a student moves to at promotion ("TK A" -> "TK B", "VI" -> "SD Lulus", "XII" -> "SMA Lulus"); the empty
// text for anything that is not a grade of the ladder (callers pass the grade alone, without its parallel).
std::string FinNextClass(const std::string& grade);

// "SD" for I to VI, "SMP" for VII to IX, "SMA" for X to XII; the empty text otherwise.
std::string FinSchoolLevel(const std::string& grade);

// For a class of the second or third year of junior or senior high school ("VIII B", "XII IPA 1"): the class the
// student entered that level with and the school year of entry, as class + "|" + school year, counted back from the
// first year of gTapel. The empty text for any other class and for a name without a blank.
std::string FinEntryClassOf(const std::string& className);

// Number of days of `month` (1 to 12) in `year` of the Gregorian calendar, as decimal text ("28" .. "31").
std::string FinDaysInMonth(int month, int year);
