// Routines on school-year texts "YYYY/YYYY".
#pragma once
#include <string>

// The login window's "+" and "-": both years of "YYYY/YYYY" stepped by `step` (VAL of the first and of the last four
// characters, written in their shortest decimal form): "2023/2024" +1 -> "2024/2025"; "" +1 -> "1/1".
std::string AppStepSchoolYear(const std::string& yearText, int step);
// A year number in its shortest decimal form: 2024 -> "2024".
std::string AppYearNumber(double v);
