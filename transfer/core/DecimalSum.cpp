#include "transfer/core/DecimalSum.h"

#include <algorithm>

namespace {

// A decimal text's digits without its point, scaled to `decimals` places, and its sign.
struct Scaled
{
    bool negative;
    std::string digits;
};

Scaled scaled(const std::string& text, std::size_t decimals)
{
    const bool negative = text.front() == '-';
    std::string digits = text.substr(negative ? 1 : 0);
    const std::size_t point = digits.find('.');
    std::size_t have = 0;
    if (point != std::string::npos) {
        have = digits.size() - point - 1;
        digits.erase(point, 1);
    }
    return {negative, digits + std::string(decimals - have, '0')};
}

// The sum of two digit strings of equal length, one digit longer.
std::string addDigits(const std::string& a, const std::string& b)
{
    std::string sum(a.size() + 1, '0');
    int carry = 0;
    for (std::size_t i = a.size(); i-- > 0;) {
        const int digit = (a[i] - '0') + (b[i] - '0') + carry;
        sum[i + 1] = char('0' + digit % 10);
        carry = digit / 10;
    }
    sum[0] = char('0' + carry);
    return sum;
}

// The difference of two digit strings of equal length, the first not the smaller.
std::string subtractDigits(const std::string& larger, const std::string& smaller)
{
    std::string difference(larger.size(), '0');
    int borrow = 0;
    for (std::size_t i = larger.size(); i-- > 0;) {
        int digit = (larger[i] - '0') - (smaller[i] - '0') - borrow;
        borrow = digit < 0;
        difference[i] = char('0' + digit + 10 * borrow);
    }
    return difference;
}

} // namespace

std::string decimalSum(const std::string& left, const std::string& right, char decimalSeparator)
{
    const auto decimalsOf = [](const std::string& text) {
        const std::size_t point = text.find('.');
        return point == std::string::npos ? std::size_t(0) : text.size() - point - 1;
    };
    const std::size_t decimals = std::max(decimalsOf(left), decimalsOf(right));
    Scaled x = scaled(left, decimals);
    Scaled y = scaled(right, decimals);
    const std::size_t width = std::max(x.digits.size(), y.digits.size());
    x.digits.insert(0, width - x.digits.size(), '0');
    y.digits.insert(0, width - y.digits.size(), '0');
    bool negative = x.negative;
    std::string digits;
    if (x.negative == y.negative) {
        digits = addDigits(x.digits, y.digits);
    } else if (x.digits >= y.digits) {
        digits = subtractDigits(x.digits, y.digits);
    } else {
        digits = subtractDigits(y.digits, x.digits);
        negative = y.negative;
    }
    digits.insert(0, decimals + 1, '0'); // a whole part of at least one digit
    std::string whole = digits.substr(0, digits.size() - decimals);
    std::string fraction = digits.substr(digits.size() - decimals);
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size() - 1));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    std::string text = whole + (fraction.empty() ? "" : decimalSeparator + fraction);
    return negative && text != "0" ? "-" + text : text;
}

