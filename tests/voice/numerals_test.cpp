#include "voice/numerals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace horalia {
namespace {

struct Case {
    double value;
    const char* expected;
};

std::string Convert(double value, bool financial, bool digitByDigit) {
    std::int16_t places = 0;
    return NumberToChinese(value, financial, digitByDigit, places);
}

void ExpectAll(const Case* begin, const Case* end, bool financial, bool digitByDigit) {
    for (const Case* c = begin; c != end; ++c) {
        EXPECT_EQ(Convert(c->value, financial, digitByDigit), c->expected)
            << "value " << c->value << " financial " << financial << " digits " << digitByDigit;
    }
}

TEST(NumberToChinese, OrdinaryReading) {
    static const Case kCases[] = {
        {0, ""},
        {1, "一"},
        {5, "五"},
        {9, "九"},
        {10, "十"},
        {11, "十一"},
        {15, "十五"},
        {19, "十九"},
        {20, "二十"},
        {21, "二十一"},
        {30, "三十"},
        {59, "五十九"},
        {100, "一百"},
        {101, "一百零一"},
        {110, "一百一十"},
        {1000, "一千"},
        {1001, "一千零一"},
        {1010, "一千零一十"},
        {2005, "二千零五"},
        {2026, "二千零二十六"},
        {10000, "一万"},
        {10500, "一万零五百"},
        {100000, "一十万"},
        {1200000, "一百二十万"},
        {1000500, "一百万零五百"},
        {20500000, "二千零五十万"},
        {12345678, "一千二百三十四万五千六百七十八"},
        {100010000, "一亿零一万"},
        {120000000, "一亿二千万"},
        {123456789012, "一千二百三十四亿五千六百七十八万九千零一十二"},
        // An all-zero 万 group brings no 万.
        {100000000, "一亿"},
        {3000000000, "三十亿"},
        {100000001, "一亿零一"},
        {100001000, "一亿零一千"},
        {1000000000, "一十亿"},
        {999999999999, "九千九百九十九亿九千九百九十九万九千九百九十九"},
    };
    ExpectAll(std::begin(kCases), std::end(kCases), false, false);
}

TEST(NumberToChinese, DigitByDigitKeepsEveryZero) {
    static const Case kCases[] = {
        {2026, "二零二六"},
        {2000, "二零零零"},
        {1999, "一九九九"},
        {0, "零"},
        {2005, "二零零五"},
        {100010000, "一零零零一零零零零"},
        // The 10..19 rule holds in this mode too.
        {15, "十五"},
        {10, "十零"},
    };
    ExpectAll(std::begin(kCases), std::end(kCases), false, true);
}

TEST(NumberToChinese, FinancialForm) {
    static const Case kCases[] = {
        {1, "壹元整"},
        {15, "拾伍元整"},
        {20, "贰拾元整"},
        {100, "壹佰元整"},
        {1.05, "壹元零角伍分"},
        {10.3, "拾元叁角"},
        {123.45, "壹佰贰拾叁元肆角伍分"},
        {1005.07, "壹仟零伍元零角柒分"},
        {2026, "贰仟零贰拾陆元整"},
        // Ties at the cent round to even.
        {1.125, "壹元壹角贰分"},
        {1.375, "壹元叁角捌分"},
        // Below one yuan the whole part is read 零.
        {0, "零元整"},
        {0.5, "零元伍角"},
        {0.05, "零元零角伍分"},
        // A fraction that rounds up raises the whole part; one that rounds to no cents is whole.
        {12.999, "拾叁元整"},
        {19.996, "贰拾元整"},
        {12.001, "拾贰元整"},
        {100000000, "壹亿元整"},
    };
    ExpectAll(std::begin(kCases), std::end(kCases), true, false);
}

TEST(NumberToChinese, FinancialDigitByDigit) {
    static const Case kCases[] = {
        {2026, "贰零贰陆元整"},
        {0, "零元整"},
        {2000.5, "贰零零零元伍角"},
    };
    ExpectAll(std::begin(kCases), std::end(kCases), true, true);
}

TEST(NumberToChinese, FractionsAreReadAfterThePoint) {
    struct FractionCase {
        double value;
        bool digitByDigit;
        std::int16_t places;
        const char* expected;
        std::int16_t placesAfter;
    };
    static const FractionCase kCases[] = {
        {0.5, false, 0, "零点五", 4},
        {0.5, true, 0, "零点五", 4},
        {2026.25, false, 0, "二千零二十六点二五", 4},
        {2026.25, true, 0, "二零二六点二五", 4},
        {19.99, false, 0, "十九点九九", 4},
        {3.14159, false, 0, "三点一四一六", 4},
        {3.14159, false, 2, "三点一四", 2},
        {0.05, false, 1, "零", 1},       // a tie at the last place rounds to even
        {9.99999, false, 0, "十", 4},    // rounds up into the whole part
        {2.00001, false, 0, "二", 4},    // rounds to no fraction at all
        {1.5, false, -3, "一点五", -3},  // too few places count as one
        {1.123456789123, false, 30000, "一点一二三四五六七八九", 30000},
    };
    for (const FractionCase& c : kCases) {
        std::int16_t places = c.places;
        EXPECT_EQ(NumberToChinese(c.value, false, c.digitByDigit, places), c.expected)
            << c.value << " places " << c.places;
        EXPECT_EQ(places, c.placesAfter) << c.value;
    }
}

TEST(NumberToChinese, WholeValuesLeaveDecimalPlacesAlone) {
    std::int16_t places = 0;
    EXPECT_EQ(NumberToChinese(12, false, false, places), "十二");
    EXPECT_EQ(places, 0);
    EXPECT_EQ(NumberToChinese(12.5, true, false, places), "拾贰元伍角");
    EXPECT_EQ(places, 0);
}

TEST(NumberToChinese, OutOfRangeGivesEmptyText) {
    const double kBad[] = {-1,
                           -0.5,
                           1e12,
                           1e300,
                           std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()};
    for (const double value : kBad) {
        for (const bool financial : {false, true}) {
            for (const bool digits : {false, true}) {
                std::int16_t places = 0;
                EXPECT_EQ(NumberToChinese(value, financial, digits, places), "") << value;
                EXPECT_EQ(places, 0);
            }
        }
    }
}

TEST(NumberToChinese, TopOfTheRangeRoundingStaysSafe) {
    // Rounds up to 10^12, beyond the highest unit: out of range as well.
    std::int16_t places = 0;
    EXPECT_EQ(NumberToChinese(999999999999.999, true, false, places), "");
    EXPECT_EQ(NumberToChinese(999999999999.99995, false, false, places), "");
    EXPECT_EQ(NumberToChinese(999999999999.5, false, false, places),
              "九千九百九十九亿九千九百九十九万九千九百九十九点五");
}

}  // namespace
}  // namespace horalia
