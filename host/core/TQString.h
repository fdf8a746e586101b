#pragma once

#include "host/TQHostExport.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace TQLoad {

/// Fixed-point text with `decimals` digits after the point ("0.39", "240.00"). A value that is
/// not a number (a construction that could not be evaluated) shows as "-".
TQHOST_EXPORT QString DblToStr(double value, int decimals);

/// Decimal text of an integer.
TQHOST_EXPORT QString IntToStr(int value);

/// Appends the items of `text` between `separator`s to `items`, in order. An empty text gives
/// no item; empty items between two separators are kept, because item i belongs to layer i.
TQHOST_EXPORT void SplitString(const QString& text, QStringList& items, QChar separator);

/// Number at the start of `text` (leading blanks skipped, conversion stops at the first
/// character that does not belong to the number); 0 when there is none.
TQHOST_EXPORT double LeadingDouble(const QString& text);
TQHOST_EXPORT int LeadingInt(const QString& text);
/// The same on a part of a text (an item of a list), without copying it.
TQHOST_EXPORT double LeadingDouble(QStringView text);
TQHOST_EXPORT int LeadingInt(QStringView text);

} // namespace TQLoad
