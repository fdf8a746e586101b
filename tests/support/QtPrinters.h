#pragma once

// Readable GoogleTest messages for Qt's strings and lists.
#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& items, std::ostream* out)
{
    *out << '[' << items.join(QStringLiteral("|")).toStdString() << ']';
}
