// Text routines every part of the system leans on. Texts are UTF-8 byte strings; positions and lengths count bytes.
#pragma once
#include <string>
#include <vector>

// Splits `source` at every occurrence of `delimiter`. `fields` is sized exactly n + 1: element 0 holds n as decimal
// digits, elements 1..n the fields in order. Empty fields between delimiters and a leading empty field remain; a
// trailing delimiter adds no empty field. The empty source, or a delimiter longer than the source, gives n = 0
// ("0" alone); an empty delimiter, or one that does not occur, gives the whole source as the one field. The scan
// stops at a NUL byte. Returns n.
int StrSplit(const std::string& source, const std::string& delimiter, std::vector<std::string>& fields);

// Field n of `source` split at `delimiter`: n >= 1 counts from the start, n <= -1 from the end. A field that does
// not exist (n = 0, n past the last field) gives the whole source; counting from the end past the first field gives
// the first field. An empty delimiter never matches.
std::string StrParse(const std::string& source, const std::string& delimiter, int n);

// Every occurrence of `find` replaced by `replacement`, scanning left to right; a replacement is never searched
// again. An empty `find` leaves the source unchanged.
std::string StrReplace(const std::string& source, const std::string& find, const std::string& replacement);

// StrReplace in one pass. With an empty `replacement` every 0xBF byte of the source is removed as well. A source
// holding a NUL byte is refused: the box "le string contient un caractère nul" / "Erreur" is shown and the result is
// "Erreur".
std::string StrReplaceFast(const std::string& source, const std::string& find, const std::string& replacement);

// The text after the first occurrence of `separator`; empty when it does not occur.
std::string StrAfterFirst(const std::string& source, const std::string& separator);

// Every byte of `source` that occurs in `chars` replaced by `replacementChar`, which must be exactly one byte;
// otherwise (or with an empty source or `chars`) the source unchanged.
std::string StrReplaceAnyChar(const std::string& source, const std::string& chars, const std::string& replacementChar);

// The text's bytes unchanged in a 16-bit string, two bytes per unit (first byte low); an odd last byte fills the
// low half of the last unit.
std::u16string StrToBstr(const std::string& text);

// ----- fixed-pitch columns of UTF-8 texts ---------------------------------------------------------------------------
// On a fixed-pitch receipt every character takes one column, whatever its byte count. A character starts at every
// byte that is not a UTF-8 continuation byte (10xxxxxx); continuation bytes belong to the character before them
// (stray ones at the very start belong to none). No routine here ever cuts a character in half.

// Number of characters (columns) of the text.
long long Utf8Length(const std::string& s);

// Byte offset where character `k` (counted from 0) starts; the text's size when it has no character k (k past the
// last character, or k < 0).
std::size_t Utf8ByteOffset(const std::string& s, long long k);

// The first `n` characters: empty for n <= 0, the whole text when it has no more than n.
std::string Utf8Left(const std::string& s, long long n);

// The last `n` characters: empty for n <= 0, the whole text when it has no more than n.
std::string Utf8Right(const std::string& s, long long n);

// Characters from character `from` (counted from 0; below 0 counts as 0) on: `count` of them, all the rest when
// count < 0. Empty for count 0 or when the text has no character `from`. Stray continuation bytes at the very start
// belong to no character and are not taken.
std::string Utf8Mid(const std::string& s, long long from, long long count = -1);

// The text followed by blanks up to `width` characters; never cut (unchanged when as long or longer).
std::string Utf8PadRight(const std::string& s, long long width);

// Blanks up to `width` characters followed by the text; never cut (unchanged when as long or longer).
std::string Utf8PadLeft(const std::string& s, long long width);
