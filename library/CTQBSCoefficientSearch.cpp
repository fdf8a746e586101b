#include "library/CTQBSCoefficientSearch.h"

#include <algorithm>
#include <cmath>

namespace {

/// The evaluation's rounding, relative to the bound: a few units in the last place of a double,
/// far below the two decimals a K is shown with.
constexpr double kBoundTolerance = 1e-12;

double Slack(double bound)
{
    return kBoundTolerance * std::max(1.0, std::fabs(bound));
}

} // namespace

const QStringList& CTQBSCoefficientSearch::KindNames()
{
    static const QStringList kinds{QStringLiteral("外墙"), QStringLiteral("内墙"), QStringLiteral("屋面"),
                                   QStringLiteral("楼板"), QStringLiteral("门"),   QStringLiteral("窗")};
    return kinds;
}

int CTQBSCoefficientSearch::KindPosition(const QString& kind)
{
    return static_cast<int>(KindNames().indexOf(kind));
}

bool CTQBSCoefficientSearch::InRange(double k, double minValue, double maxValue)
{
    // Written so that a NaN K, for which every comparison is false, fails.
    return k >= minValue - Slack(minValue) && k <= maxValue + Slack(maxValue);
}

CTQBSCoefficientSearch::CTQBSCoefficientSearch(const CTQCrXs& crxs) : m_CrXs(crxs)
{
    // National constructions only: no province and no common mode.
    m_Admin.m_BSProvince.Init();
    m_Admin.m_bBSCommon = 0;
}

tagBSNode* CTQBSCoefficientSearch::AllNode()
{
    tagBSNode* root = m_Admin.GetBSNodes(1);
    return root && !root->Children.IsEmpty() ? root->Children[0] : nullptr;
}

QList<TQCoefficientHit> CTQBSCoefficientSearch::SearchAll(double minValue, double maxValue)
{
    // The national constructions of every type are read and evaluated at once; the tree gives the
    // order.
    QList<TQCoefficientHit> hits;
    if (const tagBSNode* all = AllNode()) {
        QHash<int, CTQArray<CTQWallData>> walls;
        m_Admin.GetBSCodeCWallDataAryOfTypes(0, walls, true, m_CrXs);
        for (const tagBSNode* category : all->Children)
            CollectHits(category, walls, minValue, maxValue, hits);
    }
    return hits;
}

QList<TQCoefficientHit> CTQBSCoefficientSearch::SearchKind(int position, double minValue, double maxValue)
{
    QList<TQCoefficientHit> hits;
    const tagBSNode* all = AllNode();
    if (all && position >= 0 && position < all->Children.GetSize())
        SearchCategory(all->Children[position], minValue, maxValue, hits);
    return hits;
}

void CTQBSCoefficientSearch::SearchCategory(const tagBSNode* categoryNode, double minValue, double maxValue,
                                            QList<TQCoefficientHit>& hits)
{
    // The constructions of all the category's types are read and evaluated at once.
    if (!categoryNode)
        return;
    QHash<int, CTQArray<CTQWallData>> walls;
    m_Admin.GetBSCodeCWallDataAryOfTypes(categoryNode->ID, walls, true, m_CrXs);
    CollectHits(categoryNode, walls, minValue, maxValue, hits);
}

void CTQBSCoefficientSearch::CollectHits(const tagBSNode* categoryNode, const QHash<int, CTQArray<CTQWallData>>& walls,
                                         double minValue, double maxValue, QList<TQCoefficientHit>& hits)
{
    for (const tagBSNode* typeNode : categoryNode->Children) {
        const auto found = walls.constFind(typeNode->ID);
        if (found == walls.cend())
            continue;
        for (const CTQWallData& wall : *found) {
            if (!InRange(wall.GetCrXs(), minValue, maxValue))
                continue;
            hits.append({categoryNode->ID, typeNode->ID, categoryNode->Name, typeNode->Name, wall});
        }
    }
}
