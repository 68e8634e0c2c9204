// The arrears rule and the fee rules each keep a billing row of their own; both types live side by side in one
// program (and here in one translation unit) under names of their own.
#include <gtest/gtest.h>

#include <type_traits>

#include "accounts/fee_rules.h"
#include "payments/arrears.h"

namespace {

TEST(BillingTypes, TheArrearsBillingRowAndTheFeeBillingAreTypesOfTheirOwn) {
  static_assert(!std::is_same_v<FinArrearsBilling, FinBilling>);
  FinArrearsBilling arrears;
  arrears.type = "Pertahun";
  arrears.yearly = 900000;
  EXPECT_EQ(FinArrearsOwed(arrears, 400000, 12, 0), 500000);
  const FinBilling fee = FinFeeBilling("Pertahun", 900000);
  EXPECT_EQ(fee.total, 900000);
}

}  // namespace
