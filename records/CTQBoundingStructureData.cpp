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

QList<int> CTQBoundingStructureData::GetStuffIDs() const
{
    QStringList items;
    TQLoad::SplitString(TIdS, items, QLatin1Char(','));
    QList<int> ids;
    ids.reserve(items.size());
    for (const QString& item : items)
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

    QStringList items;
    TQLoad::SplitString(HouDuS, items, QLatin1Char(','));
    for (const QString& item : items)
        m_HouDuAry.Add(TQLoad::LeadingDouble(item));

    items.clear();
    TQLoad::SplitString(XzXsS, items, QLatin1Char(','));
    for (const QString& item : items)
        m_XzXsAry.Add(TQLoad::LeadingDouble(item));
}
