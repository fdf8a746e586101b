#pragma once

#include "host/core/CTQObject.h"
#include "host/walldata/CTQTimberingData.h"
#include "host/TQHostExport.h"
#include "host/thermal/TQArray.h"
#include "host/thermal/TQWallCharacter.h"

/// A wall as the host keeps it: its construction (ID and name), its layers outside to inside,
/// its surface coefficients and the five results of its evaluation.
class TQHOST_EXPORT CTQWallData : public CTQObject
{
public:
    CTQWallData();
    CTQWallData(const CTQWallData&) = default;
    CTQWallData& operator=(const CTQWallData&) = default;
    /// Moving hands the layers over: listings build thousands of walls into growing arrays.
    CTQWallData(CTQWallData&&) noexcept = default;
    CTQWallData& operator=(CTQWallData&&) noexcept = default;
    ~CTQWallData() override;

    const char* GetRuntimeClass() const override;
    void Init() override;
    QString ShowString() const override;

    /// Replaces the layers (outside to inside); a non-zero flag evaluates the wall at once.
    TQLoad::ErrorType SetTimbering(const CTQArray<CTQTimberingData>& layers, int recalc);
    /// The layers, outside to inside. The character block m_WallCharacter holds the one list of
    /// their thermal values, so layers replaced through it (SetTimberingData) are the layers
    /// returned here. A layer keeps its material's ID and name while its material values (λ, ρ,
    /// c) are those it was given with; a layer whose material changed through the block has none.
    CTQArray<CTQTimberingData> GetTimbering() const;

    /// Surface coefficients, W/(m²·K); a non-zero flag evaluates the wall at once.
    TQLoad::ErrorType SetNHrXsData(double inner, int recalc);
    TQLoad::ErrorType SetWHrXsData(double outerSummer, int recalc);
    TQLoad::ErrorType SetDjWHrXsData(double outerWinter, int recalc);
    double GetNHrXsData() const { return m_WallCharacter.NHrXs; }
    double GetWHrXsData() const { return m_WallCharacter.WHrXs; }
    double GetDjWHrXsData() const { return m_dDjWHrXs; }

    /// Evaluates the wall. 0 asks for the summer coefficient, 1 for the winter one; every call
    /// brings all five results up to date, so Cal(1) followed by Cal(0) leaves them all current.
    /// Anything but ET_OK leaves the results it affects NaN.
    TQLoad::ErrorType Cal(int season);

    /// Thickness (m) that the layer with the lowest λ·a must have for the summer (winter)
    /// coefficient to equal `target`. The layers are not changed: the caller decides whether to
    /// take the thickness, which is negative when the target cannot be reached. index −1: no
    /// layer could be chosen.
    TQLoad::ErrorType CurrectThick(double target, int& index, double& thickness) const;
    TQLoad::ErrorType CurrectDjThick(double target, int& index, double& thickness) const;
    /// Index of the layer CurrectThick and CurrectDjThick change (the one of lowest λ·a); −1 for none.
    int GetCurrectThickLayer() const;

    /// Method for attenuation and delay that every wall's evaluation uses. The settings hand it over
    /// when they are loaded, so the wall data never reaches for the settings itself.
    static void SetDynamicMethod(TQDynamicMethod method);
    static TQDynamicMethod GetDynamicMethod();

    double GetCrXs() const { return m_WallCharacter.CrXs; }
    double GetSj() const { return m_WallCharacter.Sj; }
    double GetYc() const { return m_WallCharacter.Yc; }
    double GetDjCrXs() const { return m_dDjCrXs; }
    double GetNCrXs() const { return m_dNCrXs; }

    /// Summer heat transfer coefficient, attenuation and delay (h) come first in the block.
    tagTQWALLCHARACTER m_WallCharacter;
    int m_nBSCId = -1;      ///< construction ID; −1 when the wall has none
    QString m_strBSCName;   ///< construction name
    double m_dDjCrXs = 0.0; ///< winter heat transfer coefficient, W/(m²·K)
    double m_dNCrXs = 0.0;  ///< inner heat transfer coefficient, W/(m²·K)

private:
    TQLoad::ErrorType SolveThickness(bool winter, double target, int& index, double& thickness) const;
    TQLoad::ErrorType RecalcIf(int recalc);

    /// Which material each layer is made of; the layer's values live in m_WallCharacter.
    struct LayerMaterial
    {
        int stuffId = 0;
        QString stuffName;
        tagTQTIMBERINGCHARACTER character; ///< the values the layer was given with
    };

    double m_dDjWHrXs = 23.0; ///< outer surface coefficient in winter
    CTQArray<LayerMaterial> m_LayerMaterials;
};
