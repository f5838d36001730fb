#include <gtest/gtest.h>

#include "support/vb_error.h"
#include "platform/vb/error.h"
#include "platform/vb/locale.h"
#include "platform/vb/variant.h"

using vb::Variant;

TEST(Variant, NullRaises94AndConcatTreatsItAsEmpty) {
    const Variant n = Variant::null();
    EXPECT_EQ(errorOf([&] { (void)n.toString(); }), vb::err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([&] { (void)n.toInt(); }), vb::err::InvalidUseOfNull);
    EXPECT_EQ(vb::concat(n, Variant("x")), "x");
    EXPECT_EQ(Variant().toString(), "");
    EXPECT_EQ(Variant().toInt(), 0);
}

TEST(Variant, IntegerConversionsRoundToEvenAndCheckRange) {
    EXPECT_EQ(Variant(1.5).toInt(), 2);
    EXPECT_EQ(Variant(2.5).toInt(), 2);
    EXPECT_EQ(Variant(108.6).toInt(), 109);
    EXPECT_EQ(Variant(-0.5).toInt(), 0);
    EXPECT_EQ(errorOf([] { (void)Variant(32767.6).toInt(); }), vb::err::Overflow);
    EXPECT_EQ(errorOf([] { (void)Variant("abc").toInt(); }), vb::err::TypeMismatch);
    EXPECT_EQ(errorOf([] { (void)Variant("").toInt(); }), vb::err::TypeMismatch);
    EXPECT_EQ(Variant(" 3 ").toInt(), 3);
    EXPECT_EQ(Variant(true).toInt(), -1);
}

TEST(Variant, TextOfNumbersUsesTheLocaleSeparator) {
    vb::setDecimalSeparator(',');
    EXPECT_EQ(Variant(0.85).toString(), "0,85");
    EXPECT_EQ(Variant(2.5).toInt(), 2);
    EXPECT_DOUBLE_EQ(Variant("2,5").toDouble(), 2.5);
    vb::setDecimalSeparator('.');
    EXPECT_EQ(Variant(0.85).toString(), "0.85");
    EXPECT_EQ(Variant(static_cast<float>(0.85)).toString(), "0.85");
    EXPECT_EQ(Variant(int16_t(-5)).toString(), "-5");
}
