#pragma once

#include <cstdint>
#include <string>

namespace horalia {

// Chinese numeral text (UTF-8) of 0 <= value < 10^12: the ordinary reading with positional units
// (二千零二十六), digit by digit (二零二六), or the financial form with its currency suffix
// (贰仟零贰拾陆元整).
std::string NumberToChinese(double value, bool financial, bool digitByDigit,
                            std::int16_t& decimalPlaces);

}  // namespace horalia
