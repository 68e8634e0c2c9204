// Amounts in Indonesian words, thousands separators and the ten-character amount column.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/numbers_words.h"

namespace {

// "·" stands for one blank in the expected texts, so that every blank the words keep is visible.
std::string Blanks(std::string s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    if (s.compare(i, 2, "\xC2\xB7") == 0) {
      out += ' ';
      i += 2;
    } else {
      out += s[i++];
    }
  }
  return out;
}

TEST(SpellNumber, WordsOfEveryRange) {
  struct Case {
    std::int32_t amount;
    const char* words;
  } cases[] = {
      {0, "·"},
      {1, "·satu"},
      {2, "·dua"},
      {3, "·tiga"},
      {4, "·empat"},
      {5, "·lima"},
      {6, "·enam"},
      {7, "·tujuh"},
      {8, "·delapan"},
      {9, "·sembilan"},
      {10, "·sepuluh"},
      {11, "·sebelas"},
      {12, "·dua·belas"},
      {19, "·sembilan·belas"},
      {20, "·dua·puluh·"},
      {21, "·dua·puluh·satu"},
      {100, "·seratus·"},
      {115, "·seratus·lima·belas"},
      {250, "·dua·ratus·lima·puluh·"},
      {1000, "·seribu·"},
      {1500, "·seribu·lima·ratus·"},
      {2000, "·dua·ribu·"},
      {150000, "·seratus·lima·puluh··ribu·"},
      {1000000, "·satu·juta·"},
      {1250500, "·satu·juta·dua·ratus·lima·puluh··ribu·lima·ratus·"},
      {999999999,
       "·sembilan·ratus·sembilan·puluh·sembilan·juta·sembilan·ratus·sembilan·puluh·sembilan·ribu·sembilan·ratus"
       "·sembilan·puluh·sembilan"},
      {1000000000, ""},
      {2147483647, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(FinSpellNumber(c.amount), Blanks(c.words)) << c.amount;
}

TEST(SpellNumber, NegativeAmountsGiveNoWords) {
  EXPECT_EQ(FinSpellNumber(-1), "");
  EXPECT_EQ(FinSpellNumber(-750000), "");
  EXPECT_EQ(FinSpellNumber(INT32_MIN), "");
}

TEST(FormatThousands, SeparatorsByLength) {
  struct Case {
    const char* text;
    const char* grouped;
  } cases[] = {
      {"", ""},
      {"5", "5"},
      {"999", "999"},
      {"1000", "1.000"},
      {"150000", "150.000"},
      {"1250000", "1.250.000"},
      {"123456789", "123.456.789"},
      {"7654321098", "7.654.321.098"},
      {"1234567890123", "1.234.567.890.123"},
      {"123456789012345", "123.456.789.012.345"},
      {"1234567890123456", "1234.567.890.123.456"},
      {"12345678901234567", "12345.678.901.234.567"},
      {"12.5", "1.2.5"},   // every character counts, a decimal point too
  };
  for (const Case& c : cases) EXPECT_EQ(FinFormatThousands(c.text, "."), c.grouped) << c.text;
}

TEST(FormatThousands, MinusSignStaysInFront) {
  struct Case {
    const char* text;
    const char* grouped;
  } cases[] = {
      {"-5", "-5"},
      {"-100", "-100"},
      {"-1000", "-1.000"},
      {"-750000", "-750.000"},
      {"-1250000", "-1.250.000"},
      {"-", "-"},
  };
  for (const Case& c : cases) EXPECT_EQ(FinFormatThousands(c.text, "."), c.grouped) << c.text;
}

TEST(FormatThousands, OtherSeparators) {
  EXPECT_EQ(FinFormatThousands("1250000", ","), "1,250,000");
  EXPECT_EQ(FinFormatThousands("1250000", ""), "1250000");
  EXPECT_EQ(FinFormatThousands("1250000", " . "), "1 . 250 . 000");
}

TEST(PadLeft10, RightAlignsInTenCharacters) {
  EXPECT_EQ(FinPadLeft10("abc"), "       abc");
  EXPECT_EQ(FinPadLeft10(""), "          ");
  EXPECT_EQ(FinPadLeft10("1234567890"), "1234567890");
  EXPECT_EQ(FinPadLeft10("123456789012"), "123456789012");
}

}  // namespace
