#include "voice/numerals.h"

#include <array>
#include <cmath>
#include <string>
#include <string_view>
#include <utility>

namespace horalia {

// Wording chosen where the reading rules alone would give odd text:
// - Out of range (NaN, infinities, negative values, 10^12 and more, and fractions that round up
//   to 10^12): the empty text; the caller plays nothing for it.
// - A fraction in the ordinary and digit-by-digit modes is read digit by digit after 点
//   (0.5 -> 零点五, 2026.25 -> 二千零二十六点二五). decimalPlaces 0 means 4 and is stored back
//   into the caller's variable; the fraction is rounded half to even at that many places (at most
//   9 are used, fewer than 1 counts as 1), trailing zeros are not read, and a fraction that rounds
//   up to 1 raises the whole part (9.99999 -> 十). A whole part of zero is read 零.
// - From 10^8 on, an all-zero 万 group brings no 万 (100000000 -> 一亿, 3000000000 -> 三十亿,
//   100001000 -> 一亿零一千).
// - Financial amounts: a zero whole part is written 零 before 元 (0 -> 零元整, 0.5 -> 零元伍角); a
//   fraction that rounds to whole cents of 0 ends in 整, and one that rounds up to 1 raises the
//   whole part (12.999 -> 拾叁元整).
// - The 10..19 rule (十五, 拾伍) holds in every mode, the digit-by-digit one included.

namespace {

using Table = std::array<std::string_view, 11>;

constexpr Table kOrdinaryDigits = {"零", "一", "二", "三", "四", "五",
                                   "六", "七", "八", "九", "十"};
constexpr Table kFinancialDigits = {"零", "壹", "贰", "叁", "肆", "伍",
                                    "陆", "柒", "捌", "玖", "拾"};
// Position k - 1 holds the unit of the digit worth 10^k.
constexpr Table kOrdinaryUnits = {"十", "百", "千", "万", "十", "百", "千", "亿", "十", "百", "千"};
constexpr Table kFinancialUnits = {"拾", "佰", "仟", "万", "拾", "佰",
                                   "仟", "亿", "拾", "佰", "仟"};

constexpr std::string_view kZero = "零";
constexpr std::string_view kPoint = "点";
constexpr double kLimit = 1e12;
constexpr unsigned long long kWholeLimit = 1000000000000ULL;
constexpr int kMaxFractionPlaces = 9;
constexpr int kWanPower = 4;
constexpr int kYiPower = 8;

std::string_view Unit(const Table& units, std::size_t power) {
    return power >= 1 && power <= units.size() ? units[power - 1] : std::string_view{};
}

void StripTrailingZeros(std::string& text) {
    while (text.size() >= kZero.size() &&
           std::string_view(text).substr(text.size() - kZero.size()) == kZero) {
        text.resize(text.size() - kZero.size());
    }
}

void CollapseZeroPairs(std::string& text) {
    std::string out;
    out.reserve(text.size());
    const std::string_view pair = "零零";
    std::size_t i = 0;
    while (i < text.size()) {
        if (std::string_view(text).substr(i, pair.size()) == pair) {
            out += kZero;
            i += pair.size();
        } else {
            out += text[i];
            ++i;
        }
    }
    text = std::move(out);
}

// Whole part W and fraction digits rounded half to even at `places` places; a carry goes into W.
struct Split {
    unsigned long long whole = 0;
    unsigned long long fraction = 0;  // 0 .. 10^places - 1
};

Split SplitRounded(double value, int places) {
    const double floorValue = std::floor(value);
    Split split;
    split.whole = static_cast<unsigned long long>(floorValue);
    unsigned long long scale = 1;
    for (int i = 0; i < places; ++i) {
        scale *= 10;
    }
    // value - floor(value) is exact; nearbyint rounds ties to even in the default rounding mode.
    const double scaled = std::nearbyint((value - floorValue) * static_cast<double>(scale));
    unsigned long long fraction = scaled <= 0 ? 0 : static_cast<unsigned long long>(scaled);
    if (fraction >= scale) {
        ++split.whole;
        fraction = 0;
    }
    split.fraction = fraction;
    return split;
}

std::string WholeText(unsigned long long whole, bool digitByDigit, const Table& digits,
                      const Table& units) {
    std::string t = std::to_string(whole);
    std::string result;
    if (whole >= 10 && whole < 20) {
        t = t.substr(t.size() - 1);
        result = units[0];
    }
    const std::size_t n = t.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int d = t[i] - '0';
        const std::size_t k = n - 1 - i;
        result += digits[static_cast<std::size_t>(d)];
        if (digitByDigit) {
            continue;
        }
        if (d != 0) {
            result += Unit(units, k);
        } else if (k == 0) {
            StripTrailingZeros(result);
        } else if (k == kYiPower) {
            StripTrailingZeros(result);
            result += Unit(units, k);
        } else if (k == kWanPower) {
            // The 万 group is the four digits worth 10^4 .. 10^7; when it is all zero below an 亿
            // part, its zero stays as the one 零 before the lower digits and 万 is left out.
            const bool emptyWanGroup = n > kYiPower && t.compare(n - 8, 4, "0000") == 0;
            if (!emptyWanGroup) {
                StripTrailingZeros(result);
                result += Unit(units, k);
            }
        }
        CollapseZeroPairs(result);
    }
    if (!digitByDigit) {
        StripTrailingZeros(result);
    }
    return result;
}

}  // namespace

std::string NumberToChinese(double value, bool financial, bool digitByDigit,
                            std::int16_t& decimalPlaces) {
    if (!(value >= 0 && value < kLimit)) {
        return {};
    }
    const Table& digits = financial ? kFinancialDigits : kOrdinaryDigits;
    const Table& units = financial ? kFinancialUnits : kOrdinaryUnits;
    const bool hasFraction = value != std::floor(value);

    if (financial) {
        const Split split = SplitRounded(value, 2);
        if (split.whole >= kWholeLimit) {
            return {};
        }
        std::string result = WholeText(split.whole, digitByDigit, digits, units);
        if (result.empty()) {
            result = kZero;
        }
        result += "元";
        if (split.fraction == 0) {
            result += "整";
        } else {
            result += digits[split.fraction / 10];
            result += "角";
            if (split.fraction % 10 != 0) {
                result += digits[split.fraction % 10];
                result += "分";
            }
        }
        return result;
    }

    if (!hasFraction) {
        return WholeText(static_cast<unsigned long long>(value), digitByDigit, digits, units);
    }

    if (decimalPlaces == 0) {
        decimalPlaces = 4;
    }
    const int places = decimalPlaces < 1                    ? 1
                       : decimalPlaces > kMaxFractionPlaces ? kMaxFractionPlaces
                                                            : decimalPlaces;
    const Split split = SplitRounded(value, places);
    if (split.whole >= kWholeLimit) {
        return {};
    }
    std::string result = WholeText(split.whole, digitByDigit, digits, units);
    if (result.empty()) {
        result = kZero;
    }
    if (split.fraction != 0) {
        std::string fraction = std::to_string(split.fraction);
        fraction.insert(0, static_cast<std::size_t>(places) - fraction.size(), '0');
        while (!fraction.empty() && fraction.back() == '0') {
            fraction.pop_back();
        }
        result += kPoint;
        for (const char c : fraction) {
            result += digits[static_cast<std::size_t>(c - '0')];
        }
    }
    return result;
}

}  // namespace horalia
