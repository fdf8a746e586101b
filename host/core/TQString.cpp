#include "host/core/TQString.h"

#include <QRegularExpression>

#include <cmath>

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

// The number prefix of a text, matched without the C library so the user's locale (a decimal
// comma) cannot change how a stored layer list reads.
static QString LeadingNumberText(const QString& text, bool allowFraction)
{
    static const QRegularExpression real(QStringLiteral("^\\s*([+-]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][+-]?\\d+)?)"));
    static const QRegularExpression integer(QStringLiteral("^\\s*([+-]?\\d+)"));
    const QRegularExpressionMatch match = (allowFraction ? real : integer).match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

double LeadingDouble(const QString& text)
{
    bool ok = false;
    const double value = LeadingNumberText(text, true).toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0.0;
}

int LeadingInt(const QString& text)
{
    bool ok = false;
    const int value = LeadingNumberText(text, false).toInt(&ok);
    return ok ? value : 0;
}

} // namespace TQLoad
