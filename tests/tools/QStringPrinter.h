#pragma once

#include <QString>

#include <ostream>

/// Lets GoogleTest print QStrings (and containers of them) readably in failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
