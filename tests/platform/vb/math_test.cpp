#include <gtest/gtest.h>

#include "support/vb_error.h"
#include "platform/vb/error.h"
#include "platform/vb/math.h"

TEST(Arithmetic, RunTimeErrorsInsteadOfInfinityOrWrapping) {
    EXPECT_EQ(vb::divide(17, 20), 0.85);
    EXPECT_EQ(errorOf([] { (void)vb::divide(1, 0); }), vb::err::DivisionByZero);
    EXPECT_EQ(errorOf([] { (void)vb::divide(0, 0); }), vb::err::Overflow);
    EXPECT_EQ(errorOf([] { (void)vb::Log(-1); }), vb::err::InvalidProcedureCall);
    EXPECT_EQ(errorOf([] { (void)vb::Log(0); }), vb::err::InvalidProcedureCall);
    EXPECT_DOUBLE_EQ(vb::Log(1.0) / vb::Log(2.0) + 1, 1);
    EXPECT_EQ(vb::toInteger(9 * 56), 504);
    EXPECT_EQ(errorOf([] { (void)vb::toInteger(32768); }), vb::err::Overflow);
    EXPECT_EQ(errorOf([] { (void)vb::toLong(1LL << 31); }), vb::err::Overflow);
    EXPECT_EQ(vb::Int(-2.5), -3);
    EXPECT_EQ(vb::Fix(-2.5), -2);
}
