#include "platform/numeric_text.h"

#include <QLocale>
#include <cfenv>
#include <cmath>
#include <string>

namespace NumericText {

double roundHalfEven(double value)
{
    // The default floating-point rounding mode rounds ties to even.
    return std::nearbyint(value);
}

double leadingNumber(const QString &text)
{
    std::string number;
    bool signAllowed = true;
    bool seenDigit = false;
    bool seenPoint = false;
    bool inExponent = false;
    bool exponentSignAllowed = false;
    bool exponentDigits = false;
    for (const QChar c : text) {
        if (c == u' ' || c == u'\t' || c == u'\n')
            continue;
        const char16_t u = c.unicode();
        if (!inExponent) {
            if (signAllowed && (u == u'+' || u == u'-')) {
                number += char(u);
                signAllowed = false;
            } else if (u >= u'0' && u <= u'9') {
                number += char(u);
                signAllowed = false;
                seenDigit = true;
            } else if (u == u'.' && !seenPoint) {
                number += '.';
                seenPoint = true;
                signAllowed = false;
            } else if ((u == u'e' || u == u'E' || u == u'd' || u == u'D') && seenDigit) {
                inExponent = true;
                exponentSignAllowed = true;
            } else {
                break;
            }
        } else {
            if (exponentSignAllowed && (u == u'+' || u == u'-')) {
                if (!exponentDigits)
                    number += 'e';
                number += char(u);
                exponentSignAllowed = false;
            } else if (u >= u'0' && u <= u'9') {
                if (!exponentDigits && exponentSignAllowed)
                    number += 'e';
                number += char(u);
                exponentSignAllowed = false;
                exponentDigits = true;
            } else {
                break;
            }
        }
    }
    if (!seenDigit)
        return 0.0;
    // An exponent marker with a sign but no digits is not part of the number.
    if (!number.empty() && (number.back() == '+' || number.back() == '-') &&
        number.find('e') != std::string::npos)
        number.erase(number.rfind('e'));
    return std::strtod(number.c_str(), nullptr);
}

std::optional<qint16> toInt16(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

} // namespace NumericText
