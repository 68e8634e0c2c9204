// Amounts an operator types or pastes: the one reader for every window that takes money as text.
#pragma once
#include <cstddef>
#include <string>

#include "framework/win.h"

// The largest amount the system takes: 999.999.999.999 rupiah (12 digits).
constexpr long long kFinMaxAmount = 999999999999LL;
constexpr int kFinMaxAmountDigits = 12;
// The longest text that can still be an amount ("Rp. 999.999.999.999,00" with blanks to spare).
constexpr std::size_t kFinMaxAmountText = 32;

// Reads `text` as whole rupiah: spaces anywhere and a leading "Rp" (or "Rp.") are ignored; then an optional "-" and
// digits, plain ("1500000") or in groups of three separated by "." ("1.500.000") or by "," ("1,500,000"); a
// decimal part of zeros only after the other separator ("1.500.000,00", "1,500,000.00", "150000.00") is allowed.
// True with the value in `amount` when the text is such a number of at most 12 digits; false (amount 0) for anything
// else: an empty text, letters, a fraction of a rupiah ("1,5"), more than 12 digits, a TAB or line break (a text of
// several cells is no amount), a text longer than kFinMaxAmountText characters.
bool FinReadAmount(const std::string& text, long long& amount);

// FinReadAmount for callers that only take a positive amount: the amount, or 0 when the text is not a positive amount.
long long FinPositiveAmount(const std::string& text);

// An edit that takes an amount: the operator can type or paste at most kFinMaxAmountDigits digits into it, however many
// separators go with them.
void FinLimitAmountEdit(Hwnd edit);
