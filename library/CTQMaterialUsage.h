#pragma once

#include "TQWallExport.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>

/// Where a material is used: the constructions whose layer sets name it. A layer set names a
/// material when its ID is a whole element of the comma list of material IDs, so 12 is not found
/// in "112,5". Layer sets left behind by a construction or type that no longer exists use
/// nothing: no one can see or mend them.
class TQWALL_EXPORT CTQMaterialUsage
{
public:
    /// One construction made of the material.
    struct Use
    {
        int ConstructionId = 0;
        QString Category; ///< empty when the type's category is missing
        QString Type;
        QString Construction;
        QString Province;  ///< empty for the national library
        QList<int> Layers; ///< layer numbers, 1 for the outermost
    };

    /// The SQL condition that `column` (a comma list of IDs) holds `id`, its values appended to
    /// `values` in order.
    static QString ListHoldsCondition(const QString& column, int id, QVariantList& values);

    /// The layer numbers (1 for the first) at which `ids`, a comma list, names `id`.
    static QList<int> LayerNumbers(const QString& ids, int id);

    /// The constructions made of the material in the order of the library's trees and lists
    /// (category, type, construction by ID); nothing when the library cannot be read.
    static std::optional<QList<Use>> Find(int materialId);

    /// "1、3": the layer numbers as a Chinese list.
    static QString LayerText(const QList<int>& layers);
};
