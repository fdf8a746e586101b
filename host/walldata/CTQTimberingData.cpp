#include "host/walldata/CTQTimberingData.h"

#include "host/walldata/TQValueCheck.h"

CTQTimberingData::~CTQTimberingData() = default;

const char* CTQTimberingData::GetRuntimeClass() const
{
    return "CTQTimberingData";
}

void CTQTimberingData::Init()
{
    m_nStuffID = 0;
    m_strStuffName.clear();
    m_Character = tagTQTIMBERINGCHARACTER{};
}

QString CTQTimberingData::ShowString() const
{
    return m_strStuffName;
}

TQLoad::ErrorType CTQTimberingData::SetStuffID(int id)
{
    m_nStuffID = id;
    return TQLoad::ET_OK;
}

TQLoad::ErrorType CTQTimberingData::SetStuffName(const QString& name)
{
    m_strStuffName = name;
    return TQLoad::ET_OK;
}

TQLoad::ErrorType CTQTimberingData::SetGMD(double density)
{
    m_Character.GMD = density;
    return TQLoad::CheckNonNegative(density, TQLoad::ET_BadDensity);
}

TQLoad::ErrorType CTQTimberingData::SetDrXs(double conductivity)
{
    m_Character.DrXs = conductivity;
    return TQLoad::CheckPositive(conductivity, TQLoad::ET_BadConductivity);
}

TQLoad::ErrorType CTQTimberingData::SetBRr(double specificHeat)
{
    m_Character.BRr = specificHeat;
    return TQLoad::CheckNonNegative(specificHeat, TQLoad::ET_BadSpecificHeat);
}

TQLoad::ErrorType CTQTimberingData::SetThick(double metres)
{
    m_Character.Thick = metres;
    return TQLoad::CheckNonNegative(metres, TQLoad::ET_BadThickness);
}

TQLoad::ErrorType CTQTimberingData::SetDrXsXz(double factor)
{
    m_Character.DrXsXz = factor;
    return TQLoad::CheckPositive(factor, TQLoad::ET_BadConductivity);
}
