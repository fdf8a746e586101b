#include "host/walldata/CTQWallData.h"

#include "host/thermal/WallThermal.h"

#include <cmath>
#include <limits>

namespace
{
TQDynamicMethod s_DynamicMethod = TQDynamicMethod::GB50176;
} // namespace

void CTQWallData::SetDynamicMethod(TQDynamicMethod method)
{
    s_DynamicMethod = method;
}

TQDynamicMethod CTQWallData::GetDynamicMethod()
{
    return s_DynamicMethod;
}

CTQWallData::CTQWallData()
{
    CTQWallData::Init();
}

CTQWallData::~CTQWallData() = default;

const char* CTQWallData::GetRuntimeClass() const
{
    return "CTQWallData";
}

void CTQWallData::Init()
{
    m_WallCharacter = tagTQWALLCHARACTER{};
    m_nBSCId = -1;
    m_strBSCName.clear();
    m_dDjCrXs = 0.0;
    m_dNCrXs = 0.0;
    m_dDjWHrXs = 23.0;
    m_LayerMaterials.RemoveAll();
}

QString CTQWallData::ShowString() const
{
    return m_strBSCName;
}

TQLoad::ErrorType CTQWallData::SetTimbering(const CTQArray<CTQTimberingData>& layers, int recalc)
{
    m_LayerMaterials.RemoveAll();
    CTQTheroyArray<tagTQTIMBERINGCHARACTER> characters;
    for (const CTQTimberingData& layer : layers) {
        characters.Add(layer.GetCharacter());
        m_LayerMaterials.Add(LayerMaterial{layer.GetStuffID(), layer.GetStuffName(), layer.GetCharacter()});
    }
    m_WallCharacter.SetTimberingData(characters, 0);
    return RecalcIf(recalc);
}

CTQArray<CTQTimberingData> CTQWallData::GetTimbering() const
{
    const auto sameMaterial = [](const tagTQTIMBERINGCHARACTER& a, const tagTQTIMBERINGCHARACTER& b) {
        // A NaN value still names its own material.
        const auto same = [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); };
        return same(a.DrXs, b.DrXs) && same(a.GMD, b.GMD) && same(a.BRr, b.BRr);
    };
    CTQArray<CTQTimberingData> layers;
    const CTQTheroyArray<tagTQTIMBERINGCHARACTER>& characters = m_WallCharacter.GetTimberingData();
    for (int i = 0; i < characters.GetSize(); ++i) {
        const tagTQTIMBERINGCHARACTER& character = characters[i];
        CTQTimberingData layer;
        if (i < m_LayerMaterials.GetSize() && sameMaterial(m_LayerMaterials[i].character, character)) {
            layer.SetStuffID(m_LayerMaterials[i].stuffId);
            layer.SetStuffName(m_LayerMaterials[i].stuffName);
        }
        layer.SetThick(character.Thick);
        layer.SetDrXs(character.DrXs);
        layer.SetDrXsXz(character.DrXsXz);
        layer.SetGMD(character.GMD);
        layer.SetBRr(character.BRr);
        layers.Add(layer);
    }
    return layers;
}

TQLoad::ErrorType CTQWallData::SetNHrXsData(double inner, int recalc)
{
    m_WallCharacter.SetNHrXs(inner, 0);
    return RecalcIf(recalc);
}

TQLoad::ErrorType CTQWallData::SetWHrXsData(double outerSummer, int recalc)
{
    m_WallCharacter.SetWHrXs(outerSummer, 0);
    return RecalcIf(recalc);
}

TQLoad::ErrorType CTQWallData::SetDjWHrXsData(double outerWinter, int recalc)
{
    m_dDjWHrXs = outerWinter;
    return RecalcIf(recalc);
}

TQLoad::ErrorType CTQWallData::RecalcIf(int recalc)
{
    return recalc ? Cal(0) : TQLoad::ET_OK;
}

TQLoad::ErrorType CTQWallData::Cal(int)
{
    const thermal::SurfaceFilms films{m_WallCharacter.WHrXs, m_dDjWHrXs, m_WallCharacter.NHrXs};
    const TQDynamicMethod method = s_DynamicMethod;
    const thermal::WallResults results = thermal::EvaluateWall(m_WallCharacter.GetTimberingData(), films, method);
    m_WallCharacter.Method = method;
    m_WallCharacter.CrXs = results.kSummer;
    m_WallCharacter.Sj = results.attenuation;
    m_WallCharacter.Yc = results.delayHours;
    m_dDjCrXs = results.kWinter;
    m_dNCrXs = results.kInner;
    return results.error;
}

TQLoad::ErrorType CTQWallData::CurrectThick(double target, int& index, double& thickness) const
{
    return SolveThickness(false, target, index, thickness);
}

TQLoad::ErrorType CTQWallData::CurrectDjThick(double target, int& index, double& thickness) const
{
    return SolveThickness(true, target, index, thickness);
}

int CTQWallData::GetCurrectThickLayer() const
{
    return thermal::ThicknessLayer(m_WallCharacter.GetTimberingData());
}

TQLoad::ErrorType CTQWallData::SolveThickness(bool winter, double target, int& index, double& thickness) const
{
    const thermal::SurfaceFilms films{m_WallCharacter.WHrXs, m_dDjWHrXs, m_WallCharacter.NHrXs};
    const thermal::ThicknessSolution solution =
        thermal::SolveThickness(m_WallCharacter.GetTimberingData(), films,
                                winter ? thermal::Season::Winter : thermal::Season::Summer, target);
    index = solution.index;
    thickness = solution.index < 0 ? 0.0 : solution.thickness;
    return TQLoad::ET_OK; // the index says whether a layer could be chosen
}
