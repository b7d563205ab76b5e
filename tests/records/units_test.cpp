#include <gtest/gtest.h>

#include "records/units.h"

TEST(Units, ConversionsUndoEachOther) {
    // The stored factors are rounded, so a round trip is close, not exact.
    EXPECT_NEAR(70 * kLbPerKg * kKgPerLb, 70, 1e-4);
    EXPECT_NEAR(170 * kInchPerCm * kCmPerInch, 170, 1e-3);
    EXPECT_EQ(kExactInchPerCm, 1 / 2.54);
    EXPECT_NEAR(300 * kLithiumMgToMeq * kLithiumMeqToMg, 300, 1e-9);
    EXPECT_NEAR(300 * kLithiumMgToMeq, 8.12, 1e-12);  // 300 mg lithium carbonate is 8.12 mEq
}
