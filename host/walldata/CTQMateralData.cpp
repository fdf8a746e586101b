#include "host/walldata/CTQMateralData.h"

#include "host/walldata/TQValueCheck.h"

CTQMateralData::CTQMateralData() = default;

CTQMateralData::~CTQMateralData() = default;

const char* CTQMateralData::GetRuntimeClass() const
{
    return "CTQMateralData";
}

void CTQMateralData::Init()
{
    CTQDBObject::Init();
    m_nStuffID = 0;
    m_dGMD = 0.0;
    m_dDrXs = 0.0;
    m_dBRr = 0.0;
    m_nCommonFlag = 0;
    m_nProvinceID = 0;
}

QString CTQMateralData::toTypeName() const
{
    return QStringLiteral("材质");
}

CTQDBObject* CTQMateralData::Clone() const
{
    return new CTQMateralData(*this);
}

bool CTQMateralData::EqualData(const CTQDBObject& other) const
{
    const auto* material = dynamic_cast<const CTQMateralData*>(&other);
    return material && CTQDBObject::EqualData(other) && m_nStuffID == material->m_nStuffID &&
           m_dGMD == material->m_dGMD && m_dDrXs == material->m_dDrXs && m_dBRr == material->m_dBRr &&
           m_nCommonFlag == material->m_nCommonFlag && m_nProvinceID == material->m_nProvinceID;
}

TQLoad::ErrorType CTQMateralData::SetStuffID(int id)
{
    m_nStuffID = id;
    return TQLoad::ET_OK;
}

TQLoad::ErrorType CTQMateralData::SetStuffName(const QString& name)
{
    SetName(name);
    return TQLoad::ET_OK;
}

TQLoad::ErrorType CTQMateralData::SetGMD(double density)
{
    m_dGMD = density;
    return TQLoad::CheckNonNegative(density, TQLoad::ET_BadDensity);
}

TQLoad::ErrorType CTQMateralData::SetDrXs(double conductivity)
{
    m_dDrXs = conductivity;
    return TQLoad::CheckPositive(conductivity, TQLoad::ET_BadConductivity);
}

TQLoad::ErrorType CTQMateralData::SetBRr(double specificHeat)
{
    m_dBRr = specificHeat;
    return TQLoad::CheckNonNegative(specificHeat, TQLoad::ET_BadSpecificHeat);
}

TQLoad::ErrorType CTQMateralData::SetCommonFlag(int flag)
{
    m_nCommonFlag = flag;
    return TQLoad::ET_OK;
}

TQLoad::ErrorType CTQMateralData::SetProvinceID(int provinceId)
{
    m_nProvinceID = provinceId;
    return TQLoad::ET_OK;
}
