#include "library/CTQBSCoefficientSearch.h"

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

CTQBSCoefficientSearch::CTQBSCoefficientSearch(const CTQCrXs& crxs) : m_CrXs(crxs) {}

tagBSNode* CTQBSCoefficientSearch::AllNode()
{
    // National constructions only: no province and no common mode.
    m_Admin.m_BSProvince.Init();
    m_Admin.m_bBSCommon = 0;
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
            SearchCategory(category, walls, minValue, maxValue, hits);
    }
    return hits;
}

QList<TQCoefficientHit> CTQBSCoefficientSearch::SearchKind(int position, double minValue, double maxValue)
{
    QList<TQCoefficientHit> hits;
    const tagBSNode* all = AllNode();
    if (all && position >= 0 && position < all->Children.GetSize()) {
        const tagBSNode* category = all->Children[position];
        QHash<int, CTQArray<CTQWallData>> walls;
        m_Admin.GetBSCodeCWallDataAryOfTypes(category->ID, walls, true, m_CrXs);
        SearchCategory(category, walls, minValue, maxValue, hits);
    }
    return hits;
}

void CTQBSCoefficientSearch::SearchCategory(const tagBSNode* categoryNode,
                                            const QHash<int, CTQArray<CTQWallData>>& walls, double minValue,
                                            double maxValue, QList<TQCoefficientHit>& hits)
{
    for (const tagBSNode* typeNode : categoryNode->Children) {
        const auto found = walls.constFind(typeNode->ID);
        if (found == walls.cend())
            continue;
        for (const CTQWallData& wall : *found) {
            const double k = wall.GetCrXs();
            if (!(minValue <= k && k <= maxValue)) // NaN never matches
                continue;
            hits.append({categoryNode->ID, typeNode->ID, categoryNode->Name, typeNode->Name, wall});
        }
    }
}
