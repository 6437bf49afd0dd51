#include "core/config/NVLeafText.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

TEST(LeafText, IntegersReadAsTheFilesWriteThem)
{
    EXPECT_EQ(nv_parse_int("12abc"), 12);
    EXPECT_EQ(nv_parse_int(""), 0);
    EXPECT_EQ(nv_parse_int("abc"), 0);
    EXPECT_EQ(nv_parse_int("  \n-7x"), -7);
    EXPECT_EQ(nv_parse_int("+5"), 5);
    EXPECT_EQ(nv_parse_int("99999999999"), 2147483647);
    EXPECT_EQ(nv_parse_int("-99999999999"), -2147483647 - 1);
    EXPECT_EQ(nv_parse_int("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(nv_format_int(-3), "-3");
    // An unsigned field above the signed range is written negative.
    EXPECT_EQ(nv_format_int(static_cast<int32_t>(uint32_t{4294967295u})), "-1");
}

TEST(LeafText, FloatsUseSixFractionDigitsWhateverTheLocale)
{
    EXPECT_EQ(nv_format_float(0.25f), "0.250000");
    EXPECT_EQ(nv_format_float(1.0f), "1.000000");
    EXPECT_EQ(nv_format_float(0.1f), "0.100000");
    EXPECT_EQ(nv_format_float(-0.5f), "-0.500000");
    EXPECT_EQ(nv_format_float(1e10f), "10000000000.000000");
    EXPECT_FLOAT_EQ(nv_parse_float(" 0.900000"), 0.9f);
    EXPECT_FLOAT_EQ(nv_parse_float("1e-1"), 0.1f);
    EXPECT_FLOAT_EQ(nv_parse_float("+2.5kg"), 2.5f);
    EXPECT_EQ(nv_parse_float("x"), 0.0f);
    EXPECT_EQ(nv_parse_float("nan"), 0.0f);
    EXPECT_EQ(nv_parse_float("inf"), 0.0f);
    // A comma locale must not change the files.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        EXPECT_EQ(nv_format_float(0.25f), "0.250000");
        EXPECT_FLOAT_EQ(nv_parse_float("0.25"), 0.25f);
        std::setlocale(LC_NUMERIC, "C");
    }
}

