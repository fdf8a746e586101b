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
/// constructions by ID. Every match is returned, however many there are.
///
/// Both bounds are inclusive, to within the rounding of the evaluation: a wall that works out to
/// K = 1.8 on paper may be evaluated as 1.8000000000000003, and a range ending at 1.8 finds it.
/// A construction that cannot be evaluated (its K is not a number) never matches.
///
/// Every search reads the library afresh, with a number of statements that does not grow with the
/// constructions it holds: the constructions of a category, or of all, are read at once.
class TQWALL_EXPORT CTQBSCoefficientSearch
{
public:
    /// The kinds of envelope, in the order the search takes them by position.
    static const QStringList& KindNames();
    /// Position of a kind name (compared exactly), or −1.
    static int KindPosition(const QString& kind);
    /// Whether a summer K lies in [minValue, maxValue], bounds included; NaN never does.
    static bool InRange(double k, double minValue, double maxValue);

    /// Searches with its own library manager, evaluating with `crxs`.
    explicit CTQBSCoefficientSearch(const CTQCrXs& crxs = CTQCrXs());

    /// The surface coefficients of the next searches.
    void SetCrXs(const CTQCrXs& crxs) { m_CrXs = crxs; }

    /// Every category under "所有围护结构".
    QList<TQCoefficientHit> SearchAll(double minValue, double maxValue);
    /// The category at `position` under "所有围护结构"; none when there is no such category.
    QList<TQCoefficientHit> SearchKind(int position, double minValue, double maxValue);
    /// The types of one category node (of any construction tree) in order; appends the matches
    /// to `hits`, so the hits of several categories form one list.
    void SearchCategory(const tagBSNode* categoryNode, double minValue, double maxValue,
                        QList<TQCoefficientHit>& hits);

private:
    tagBSNode* AllNode();
    /// The hits among the constructions of the category's types, `walls` keyed by type ID.
    static void CollectHits(const tagBSNode* categoryNode, const QHash<int, CTQArray<CTQWallData>>& walls,
                            double minValue, double maxValue, QList<TQCoefficientHit>& hits);

    CTQBSDataAdmin m_Admin;
    CTQCrXs m_CrXs;
};
