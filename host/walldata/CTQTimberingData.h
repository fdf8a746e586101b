#pragma once

#include "host/core/CTQObject.h"
#include "host/TQHostExport.h"
#include "host/thermal/TQErrorType.h"
#include "host/thermal/TQTimberingCharacter.h"

/// One layer of a wall: the material it is made of and its thickness and correction factor.
class TQHOST_EXPORT CTQTimberingData : public CTQObject
{
public:
    CTQTimberingData() = default;
    CTQTimberingData(const CTQTimberingData&) = default;
    CTQTimberingData& operator=(const CTQTimberingData&) = default;
    ~CTQTimberingData() override;

    const char* GetRuntimeClass() const override;
    void Init() override;
    QString ShowString() const override;

    int GetStuffID() const { return m_nStuffID; }
    TQLoad::ErrorType SetStuffID(int id);
    const QString& GetStuffName() const { return m_strStuffName; }
    TQLoad::ErrorType SetStuffName(const QString& name);
    /// Dry density, kg/m³.
    double GetGMD() const { return m_Character.GMD; }
    TQLoad::ErrorType SetGMD(double density);
    /// Conductivity λ, W/(m·K).
    double GetDrXs() const { return m_Character.DrXs; }
    TQLoad::ErrorType SetDrXs(double conductivity);
    /// Specific heat, kJ/(kg·K).
    double GetBRr() const { return m_Character.BRr; }
    TQLoad::ErrorType SetBRr(double specificHeat);
    /// Thickness in metres (the library keeps millimetres; callers convert by 1000).
    double GetThick() const { return m_Character.Thick; }
    TQLoad::ErrorType SetThick(double metres);
    /// Correction factor a of the conductivity.
    double GetDrXsXz() const { return m_Character.DrXsXz; }
    TQLoad::ErrorType SetDrXsXz(double factor);

    /// The layer as the thermal calculation sees it.
    const tagTQTIMBERINGCHARACTER& GetCharacter() const { return m_Character; }

private:
    int m_nStuffID = 0;
    QString m_strStuffName;
    tagTQTIMBERINGCHARACTER m_Character;
};
