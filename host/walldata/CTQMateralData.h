#pragma once

#include "host/core/CTQDBObject.h"
#include "host/TQHostExport.h"
#include "host/thermal/TQErrorType.h"

/// One building material: dry density, conductivity and specific heat, with the library's
/// common flag and province.
class TQHOST_EXPORT CTQMateralData : public CTQDBObject
{
public:
    CTQMateralData();
    CTQMateralData(const CTQMateralData&) = default;
    CTQMateralData& operator=(const CTQMateralData&) = default;
    ~CTQMateralData() override;

    const char* GetRuntimeClass() const override;
    void Init() override;
    QString toTypeName() const override;
    CTQDBObject* Clone() const override;
    bool EqualData(const CTQDBObject& other) const override;

    int GetStuffID() const { return m_nStuffID; }
    TQLoad::ErrorType SetStuffID(int id);
    const QString& GetStuffName() const { return GetName(); }
    TQLoad::ErrorType SetStuffName(const QString& name);
    /// Dry density, kg/m³.
    double GetGMD() const { return m_dGMD; }
    TQLoad::ErrorType SetGMD(double density);
    /// Thermal conductivity λ, W/(m·K).
    double GetDrXs() const { return m_dDrXs; }
    TQLoad::ErrorType SetDrXs(double conductivity);
    /// Specific heat, kJ/(kg·K).
    double GetBRr() const { return m_dBRr; }
    TQLoad::ErrorType SetBRr(double specificHeat);
    int GetCommonFlag() const { return m_nCommonFlag; }
    TQLoad::ErrorType SetCommonFlag(int flag);
    /// Province record ID; 0 for the national library.
    int GetProvinceID() const { return m_nProvinceID; }
    TQLoad::ErrorType SetProvinceID(int provinceId);

private:
    int m_nStuffID = 0;
    double m_dGMD = 0.0;
    double m_dDrXs = 0.0;
    double m_dBRr = 0.0;
    int m_nCommonFlag = 0;
    int m_nProvinceID = 0;
};
