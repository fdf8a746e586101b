#include "records/CTQBoundingStructureData.h"

#include "host/core/TQString.h"
#include "records/CTQTimbering.h"

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
    m_StuffAry.RemoveAll();
    m_HouDuAry.RemoveAll();
    m_XzXsAry.RemoveAll();

    QStringList items;
    TQLoad::SplitString(TIdS, items, QLatin1Char(','));
    CTQTimbering material;
    for (const QString& item : items) {
        material.Init();
        material.ReadData(TQLoad::LeadingInt(item), nullptr);
        m_StuffAry.Add(material);
    }

    items.clear();
    TQLoad::SplitString(HouDuS, items, QLatin1Char(','));
    for (const QString& item : items)
        m_HouDuAry.Add(TQLoad::LeadingDouble(item));

    items.clear();
    TQLoad::SplitString(XzXsS, items, QLatin1Char(','));
    for (const QString& item : items)
        m_XzXsAry.Add(TQLoad::LeadingDouble(item));
}
