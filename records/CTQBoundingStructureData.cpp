#include "records/CTQBoundingStructureData.h"

#include "host/core/TQString.h"
#include "records/CTQTimberingMap.h"

#include <QStringList>

CTQBoundingStructureData::CTQBoundingStructureData()
{
    CTQBoundingStructureData::Init();
}

CTQBoundingStructureData::~CTQBoundingStructureData() = default;

void CTQBoundingStructureData::Init()
{
    ID = 0;
    BSCId = 0;
    TIdS.clear();
    HouDuS.clear();
    XzXsS.clear();
    HaveDemoBMP = 0;
    m_StuffAry.RemoveAll();
    m_HouDuAry.RemoveAll();
    m_XzXsAry.RemoveAll();
}

void CTQBoundingStructureData::MakeArray()
{
    CTQTimberingMap materials;
    materials.Read(GetStuffIDs(), nullptr);
    MakeArray(materials);
}

namespace {

// The items of a layer list as SplitString gives them (an empty list has none, empty items keep
// their place), read in place: a listing parses the lists of every construction it shows.
QList<QStringView> ListItems(const QString& list)
{
    return list.isEmpty() ? QList<QStringView>() : QStringView(list).split(u',', Qt::KeepEmptyParts);
}

} // namespace

QList<int> CTQBoundingStructureData::GetStuffIDs() const
{
    const QList<QStringView> items = ListItems(TIdS);
    QList<int> ids;
    ids.reserve(items.size());
    for (QStringView item : items)
        ids.append(TQLoad::LeadingInt(item));
    return ids;
}

void CTQBoundingStructureData::MakeArray(const CTQTimberingMap& materials)
{
    m_StuffAry.RemoveAll();
    m_HouDuAry.RemoveAll();
    m_XzXsAry.RemoveAll();

    for (int id : GetStuffIDs())
        m_StuffAry.Add(materials.Get(id));
    for (QStringView item : ListItems(HouDuS))
        m_HouDuAry.Add(TQLoad::LeadingDouble(item));
    for (QStringView item : ListItems(XzXsS))
        m_XzXsAry.Add(TQLoad::LeadingDouble(item));
}
