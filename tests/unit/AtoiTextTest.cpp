#include "app/AtoiText.h"

#include <gtest/gtest.h>

TEST(AtoiText, ReadsLikeCAtoi) {
    EXPECT_EQ(AtoiText(QStringLiteral("832")), 832);
    EXPECT_EQ(AtoiText(QStringLiteral("  42abc")), 42);
    EXPECT_EQ(AtoiText(QStringLiteral("3abc")), 3);
    EXPECT_EQ(AtoiText(QStringLiteral("-1")), -1);
    EXPECT_EQ(AtoiText(QStringLiteral("+7")), 7);
    EXPECT_EQ(AtoiText(QStringLiteral("abc")), 0);
    EXPECT_EQ(AtoiText(QStringLiteral("")), 0);
    EXPECT_EQ(AtoiText(QStringLiteral("- 5")), 0);
    EXPECT_EQ(AtoiText(QStringLiteral("99999999999999999999")), 2147483647);
    EXPECT_EQ(AtoiText(QStringLiteral("-99999999999999999999")), -2147483647 - 1);
}
