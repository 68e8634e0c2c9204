// Splitting, picking fields and replacing in texts.
#include <gtest/gtest.h>

#include <climits>

#include "framework/strings.h"
#include "support/seams_fixture.h"

namespace {

using Fields = std::vector<std::string>;

TEST(StrSplitTest, Table) {
  struct Case { std::string source, delimiter; Fields fields; };
  const Case cases[] = {
      {"", ";", {"0"}},
      {"ab", ";;;", {"0"}},                 // delimiter longer than the source
      {"ab", ";;", {"1", "ab"}},            // as long as the source: no occurrence, the whole text
      {"abc", ";", {"1", "abc"}},
      {"abc", "", {"1", "abc"}},
      {"a;b;", ";", {"2", "a", "b"}},       // a trailing delimiter adds no field
      {"a;b;;", ";", {"3", "a", "b", ""}},
      {";a", ";", {"2", "", "a"}},
      {";", ";", {"1", ""}},
      {"a;;b", ";", {"3", "a", "", "b"}},
      {"a;b;c", ";", {"3", "a", "b", "c"}},
      {"x|y", "|", {"2", "x", "y"}},
      {"r1\rr2\r", "\r", {"2", "r1", "r2"}},
      {"1,Budi,XII IPA 1", ",", {"3", "1", "Budi", "XII IPA 1"}},
      {"a<>b<>", "<>", {"2", "a", "b"}},
      {"aab", "ab", {"1", "a"}},            // found after the first "a", trailing
      {std::string("a;b\0;c", 6), ";", {"2", "a", "b"}},    // the scan ends at a NUL byte
      {"Bu\xC3\xA9;\xC3\xA9", ";", {"2", "Bu\xC3\xA9", "\xC3\xA9"}},
  };
  for (const auto& c : cases) {
    Fields fields = {"stale", "contents", "x", "y", "z", "w"};
    int n = StrSplit(c.source, c.delimiter, fields);
    EXPECT_EQ(fields, c.fields) << "'" << c.source << "' at '" << c.delimiter << "'";
    EXPECT_EQ(n, int(c.fields.size()) - 1) << c.source;
    EXPECT_EQ(fields[0], std::to_string(n));
  }
}

TEST(StrSplitTest, ManyFieldsAreSizedExactly) {
  std::string source;
  for (int i = 1; i <= 1000; ++i) source += std::to_string(i) + ";";
  Fields fields;
  ASSERT_EQ(StrSplit(source, ";", fields), 1000);
  ASSERT_EQ(fields.size(), 1001u);
  EXPECT_EQ(fields[1], "1");
  EXPECT_EQ(fields[1000], "1000");
}

TEST(StrParseTest, Table) {
  struct Case { std::string source, delimiter; int n; std::string field; };
  const Case cases[] = {
      {"a;b;c", ";", 1, "a"},   {"a;b;c", ";", 2, "b"},   {"a;b;c", ";", 3, "c"},
      {"a;b;c", ";", -1, "c"},  {"a;b;c", ";", -2, "b"},  {"a;b;c", ";", -3, "a"},
      {"a;b;c", ";", -5, "a"},  {"a;b;c", ";", 4, "a;b;c"}, {"a;b;c", ";", 0, "a;b;c"},
      {"abc", ";", 1, "abc"},   {"abc", ";", 2, "abc"},   {"abc", ";", -2, "abc"},
      {"", ";", 1, ""},         {"", ";", 2, ""},         {"", ";", -1, ""},
      {"a;b;c", "", 2, "a;b;c"},                          // an empty delimiter never matches
      {"a;;c", ";", 2, ""},     {";b", ";", 1, ""},       {"a;b;", ";", 3, ""},  {"a;b;", ";", -1, ""},
      {"a;b;", ";", 4, "a;b;"},
      {"Arial Unicode MS,9,1", ",", 3, "1"},
      {"Arial,9", ",", 3, "Arial,9"},                     // missing field: the whole text
      {"k1::k2::k3", "::", 2, "k2"}, {"k1::k2::k3", "::", -1, "k3"}, {"k1::k2::k3", "::", -4, "k1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StrParse(c.source, c.delimiter, c.n), c.field) << "'" << c.source << "' " << c.n;
}

TEST(StrReplaceTest, Table) {
  struct Case { std::string source, find, replacement, result; };
  const Case cases[] = {
      {"aaa", "a", "aa", "aaaaaa"},         // replacements are not searched again
      {"aaa", "aa", "b", "ba"},
      {"O'Neil's", "'", "`", "O`Neil`s"},
      {"abc", "", "x", "abc"},
      {"", "a", "b", ""},
      {"a-b-c", "-", "", "abc"},
      {"2024/2025", "/", "", "20242025"},
      {"xyz", "xyzw", "q", "xyz"},
  };
  for (const auto& c : cases) EXPECT_EQ(StrReplace(c.source, c.find, c.replacement), c.result) << c.source;
}

class StrReplaceFastTest : public fintest::SeamsTest {};

TEST_F(StrReplaceFastTest, Table) {
  struct Case { std::string source, find, replacement, result; };
  const Case cases[] = {
      {"aaa", "a", "aa", "aaaaaa"},
      {"a,b,c", ",", "</td><td>", "a</td><td>b</td><td>c"},
      {"abc", "", "x", "abc"},
      {"", "a", "x", ""},
      {"ab", "abc", "x", "ab"},                                  // find longer than the source
      {"xax", "a", "", "xx"},
      {"\xBF" "a\xBF" "b", "a", "", "b"},                       // empty replacement: 0xBF bytes vanish too
      {"\xBF" "a\xBF" "b", "a", "-", "\xBF-\xBF" "b"},         // ... but only then
      {"tail", "il", "IL", "taIL"},
  };
  for (const auto& c : cases) EXPECT_EQ(StrReplaceFast(c.source, c.find, c.replacement), c.result) << c.source;
  EXPECT_TRUE(msgBoxes().empty());
}

TEST_F(StrReplaceFastTest, ResultsOfAnyLengthComeOutWhole) {
  // 25 x the source: more than a buffer of 20 x the source would hold.
  std::string source(1000, 'x');
  std::string replacement(25, 'y');
  std::string result = StrReplaceFast(source, "x", replacement);
  EXPECT_EQ(result.size(), 25000u);
  EXPECT_EQ(result, std::string(25000, 'y'));
  // a single byte growing into a long page
  std::string page(100000, 'z');
  EXPECT_EQ(StrReplaceFast("a", "a", page), page);
}

TEST_F(StrReplaceFastTest, ASourceWithANulByteIsRefused) {
  ExpectMsgBox("le string contient un caractère nul", "Erreur", IDOK, MB_OK);
  EXPECT_EQ(StrReplaceFast(std::string("a\0b", 3), "a", "c"), "Erreur");
}

TEST(StrAfterFirstTest, Table) {
  struct Case { std::string source, separator, result; };
  const Case cases[] = {
      {"1,Budi,Kelas", ",", "Budi,Kelas"}, {"abc", ",", ""}, {"abc,", ",", ""}, {",abc", ",", "abc"},
      {"", ",", ""}, {"a,b", "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(StrAfterFirst(c.source, c.separator), c.result) << c.source;
}

TEST(StrReplaceAnyCharTest, Table) {
  struct Case { std::string source, chars, replacement, result; };
  const Case cases[] = {
      {"a/b\\c:d", "/\\:", "_", "a_b_c_d"}, {"abc", "xyz", "_", "abc"}, {"abc", "a", "", "abc"},
      {"abc", "a", "xy", "abc"}, {"", "a", "_", ""}, {"abc", "", "_", "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(StrReplaceAnyChar(c.source, c.chars, c.replacement), c.result) << c.source;
}

TEST(StrToBstrTest, KeepsTheBytes) {
  EXPECT_EQ(StrToBstr(""), u"");
  EXPECT_EQ(StrToBstr("AB"), std::u16string(1, char16_t(0x4241)));
  EXPECT_EQ(StrToBstr("ABC"), (std::u16string{char16_t(0x4241), char16_t(0x0043)}));
  EXPECT_EQ(StrToBstr("\xFF\x01"), std::u16string(1, char16_t(0x01FF)));
}

// "é" is two bytes, "€" three; "\x80" alone is a stray continuation byte.
TEST(Utf8ColumnsTest, LengthAndByteOffset) {
  struct Case { std::string text; long long length; std::vector<std::size_t> offsets; };   // offsets of k = 0, 1, 2, 3
  const Case cases[] = {
      {"", 0, {0, 0, 0, 0}},
      {"abc", 3, {0, 1, 2, 3}},
      {"B\xC3\xA9la", 4, {0, 1, 3, 4}},
      {"\xE2\x82\xAC" "5", 2, {0, 3, 4, 4}},
      {"\x80" "a", 1, {1, 2, 2, 2}},        // a stray leading continuation byte starts no character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8Length(c.text), c.length) << c.text;
    for (long long k = 0; k < 4; ++k) EXPECT_EQ(Utf8ByteOffset(c.text, k), c.offsets[k]) << c.text << " k=" << k;
    EXPECT_EQ(Utf8ByteOffset(c.text, -1), c.text.size()) << c.text;
  }
}

TEST(Utf8ColumnsTest, LeftRightAndPadding) {
  struct Case { std::string text; long long n; std::string left, right, padRight, padLeft; };
  const Case cases[] = {
      {"B\xC3\xA9la", 2, "B\xC3\xA9", "la", "B\xC3\xA9la", "B\xC3\xA9la"},
      {"B\xC3\xA9la", 3, "B\xC3\xA9l", "\xC3\xA9la", "B\xC3\xA9la", "B\xC3\xA9la"},
      {"B\xC3\xA9la", 4, "B\xC3\xA9la", "B\xC3\xA9la", "B\xC3\xA9la", "B\xC3\xA9la"},
      {"B\xC3\xA9la", 6, "B\xC3\xA9la", "B\xC3\xA9la", "B\xC3\xA9la  ", "  B\xC3\xA9la"},   // pads by characters
      {"B\xC3\xA9la", 0, "", "", "B\xC3\xA9la", "B\xC3\xA9la"},
      {"B\xC3\xA9la", -3, "", "", "B\xC3\xA9la", "B\xC3\xA9la"},
      {"\xE2\x82\xAC", 1, "\xE2\x82\xAC", "\xE2\x82\xAC", "\xE2\x82\xAC", "\xE2\x82\xAC"},
      {"", 2, "", "", "  ", "  "},
      {"", 0, "", "", "", ""},
      {"\x80" "ab", 1, "\x80" "a", "b", "\x80" "ab", "\x80" "ab"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8Left(c.text, c.n), c.left) << c.text << " n=" << c.n;
    EXPECT_EQ(Utf8Right(c.text, c.n), c.right) << c.text << " n=" << c.n;
    EXPECT_EQ(Utf8PadRight(c.text, c.n), c.padRight) << c.text << " n=" << c.n;
    EXPECT_EQ(Utf8PadLeft(c.text, c.n), c.padLeft) << c.text << " n=" << c.n;
  }
}

TEST(Utf8ColumnsTest, Mid) {
  struct Case { std::string text; long long from, count; std::string mid; };
  const Case cases[] = {
      {"Caf\xC3\xA9 au lait", 3, 3, "\xC3\xA9 a"},   // counts characters, never cuts one
      {"Caf\xC3\xA9 au lait", 3, -1, "\xC3\xA9 au lait"},
      {"Caf\xC3\xA9", 2, 100, "f\xC3\xA9"},
      {"Caf\xC3\xA9", 2, LLONG_MAX, "f\xC3\xA9"},
      {"Caf\xC3\xA9", -2, 2, "Ca"},
      {"Caf\xC3\xA9", 1, 0, ""},
      {"Caf\xC3\xA9", 4, 1, ""},
      {"", 0, -1, ""},
      {"\x80" "ab", 0, 1, "a"},   // a stray leading continuation byte is no character
  };
  for (const auto& c : cases)
    EXPECT_EQ(Utf8Mid(c.text, c.from, c.count), c.mid) << c.text << " from=" << c.from << " count=" << c.count;
}

}  // namespace
