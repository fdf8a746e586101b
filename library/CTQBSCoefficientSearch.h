#pragma once

#include "TQWallExport.h"
#include "host/walldata/CTQCrXs.h"
#include "host/walldata/CTQWallData.h"
#include "library/CTQBSDataAdmin.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

/// One construction found by its summer heat transfer coefficient.
struct TQWALL_EXPORT TQCoefficientHit
{
    int categoryId = 0;
    int typeId = 0;
    QString categoryName;
    QString typeName;
    CTQWallData wall; ///< evaluated; its construction ID and name identify the hit
};

/// Finds the national constructions whose summer heat transfer coefficient lies in a range, in
/// all categories or in one kind of envelope, in tree order: categories, then types, then
/// constructions by ID. Both bounds are inclusive; a construction that cannot be evaluated
/// never matches. Every search reads the library afresh, with a fixed number of statements
/// however many constructions it holds.
class TQWALL_EXPORT CTQBSCoefficientSearch
{
public:
    /// The kinds of envelope, in the order the search takes them by position.
    static const QStringList& KindNames();
    /// Position of a kind name (compared exactly), or −1.
    static int KindPosition(const QString& kind);

    /// Searches with its own library manager, evaluating with `crxs`.
    explicit CTQBSCoefficientSearch(const CTQCrXs& crxs = CTQCrXs());

    /// Every category under "所有围护结构".
    QList<TQCoefficientHit> SearchAll(double minValue, double maxValue);
    /// The category at `position` under "所有围护结构"; none when there is no such category.
    QList<TQCoefficientHit> SearchKind(int position, double minValue, double maxValue);

private:
    tagBSNode* AllNode();
    /// The hits among the constructions of the category's types, `walls` keyed by type ID.
    static void SearchCategory(const tagBSNode* categoryNode, const QHash<int, CTQArray<CTQWallData>>& walls,
                               double minValue, double maxValue, QList<TQCoefficientHit>& hits);

    CTQBSDataAdmin m_Admin;
    CTQCrXs m_CrXs;
};
