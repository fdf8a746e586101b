#pragma once

#include <QString>
#include <QVariantList>

/// The statement that finds the rows holding a record's key, with its bound values.
struct TQKeyQuery
{
    QString sql;
    QVariantList values;
};
