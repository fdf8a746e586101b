#include "host/core/TQString.h"

#include <QStringView>

#include <cmath>
#include <limits>

namespace TQLoad {

QString DblToStr(double value, int decimals)
{
    if (!std::isfinite(value))
        return QStringLiteral("-");
    QString text = QString::number(value, 'f', qBound(0, decimals, 15));
    // -0.001 with two decimals would read "-0.00"; a zero has no sign.
    if (text.startsWith(QLatin1Char('-')) && text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) == text.size() - 1)
        text.remove(0, 1);
    return text;
}

QString IntToStr(int value)
{
    return QString::number(value);
}

void SplitString(const QString& text, QStringList& items, QChar separator)
{
    if (text.isEmpty())
        return;
    items.append(text.split(separator, Qt::KeepEmptyParts));
}

// The number prefix of a text: blanks, then a sign and digits, for a real with a fraction and an
// exponent ([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?). Scanned here rather than with the C
// library, so the user's locale (a decimal comma) cannot change how a stored layer list reads,
// and by hand rather than with a regular expression, since every listed layer is read this way.
static QStringView LeadingNumberText(QStringView text, bool allowFraction)
{
    const qsizetype size = text.size();
    const auto isDigit = [&](qsizetype i) { return i < size && text[i] >= u'0' && text[i] <= u'9'; };
    const auto skipDigits = [&](qsizetype i) {
        while (isDigit(i))
            ++i;
        return i;
    };
    qsizetype i = 0;
    while (i < size && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    const qsizetype start = i;
    if (i < size && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (isDigit(i)) {
        i = skipDigits(i);
        if (allowFraction && i < size && text[i] == u'.')
            i = skipDigits(i + 1);
    } else if (allowFraction && i < size && text[i] == u'.' && isDigit(i + 1)) {
        i = skipDigits(i + 1);
    } else {
        return {};
    }
    if (allowFraction && i < size && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype exponent = i + 1;
        if (exponent < size && (text[exponent] == u'+' || text[exponent] == u'-'))
            ++exponent;
        if (isDigit(exponent))
            i = skipDigits(exponent);
    }
    return text.mid(start, i - start);
}

// Whole numbers of up to 15 digits are exact in a double and need no conversion routine; they
// are most of what a layer list holds (thicknesses in millimetres, factors of 1).
constexpr qsizetype kExactDigits = 15;

// The value of a sign and digits; false when the text holds anything else or too many digits.
static bool WholeNumber(QStringView number, qint64& value)
{
    const bool negative = number.startsWith(u'-');
    const QStringView digits = number.startsWith(u'-') || number.startsWith(u'+') ? number.mid(1) : number;
    if (digits.isEmpty() || digits.size() > kExactDigits)
        return false;
    value = 0;
    for (const QChar digit : digits) {
        if (digit < u'0' || digit > u'9')
            return false;
        value = value * 10 + (digit.unicode() - u'0');
    }
    if (negative)
        value = -value;
    return true;
}

double LeadingDouble(QStringView text)
{
    const QStringView number = LeadingNumberText(text, true);
    qint64 whole = 0;
    if (WholeNumber(number, whole))
        return whole == 0 && number.startsWith(u'-') ? -0.0 : static_cast<double>(whole);
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

int LeadingInt(QStringView text)
{
    const QStringView number = LeadingNumberText(text, false);
    qint64 whole = 0;
    if (WholeNumber(number, whole))
        return whole >= std::numeric_limits<int>::min() && whole <= std::numeric_limits<int>::max()
                   ? static_cast<int>(whole)
                   : 0;
    bool ok = false;
    const int value = number.toInt(&ok);
    return ok ? value : 0;
}

double LeadingDouble(const QString& text)
{
    return LeadingDouble(QStringView(text));
}

int LeadingInt(const QString& text)
{
    return LeadingInt(QStringView(text));
}

} // namespace TQLoad
