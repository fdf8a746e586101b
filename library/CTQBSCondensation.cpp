#include "library/CTQBSCondensation.h"

#include "host/core/TQString.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "library/CTQTimberingVapour.h"
#include "records/CTQWallProvince.h"

#include <QHash>

#include <cmath>
#include <vector>

namespace {

double SettingNumber(CTQSettingsTable::Key key, double fallback)
{
    bool ok = false;
    const double value = CTQDBGlobalSetting::GetGlobalSetting()->GetValue(key).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

void WriteSetting(CTQSettingsTable::Key key, double value)
{
    CTQDBGlobalSetting::GetGlobalSetting()->WriteSysIni(CTQSettingsTable::Section(key), CTQSettingsTable::Name(key),
                                                        QString::number(value, 'g', 10));
}

} // namespace

double CTQBSCondensation::ZoneOutdoorTemperature(int zoneId)
{
    // GB 50176 divides the country by the mean temperature of the coldest month: 严寒 ≤ −10 °C,
    // 寒冷 −10…0 °C, 夏热冬冷 0…10 °C, 夏热冬暖 > 10 °C, 温和 0…13 °C. The design value here is the
    // zone's cold limit, the severest month a construction of that zone meets.
    switch (zoneId) {
    case 3:
    case 5:
        return 0.0;
    case 4:
        return 10.0;
    default:
        return -10.0;
    }
}

thermal::MoistureConditions CTQBSCondensation::GetConditions(int provinceId)
{
    thermal::MoistureConditions conditions;
    conditions.indoorTemperature = SettingNumber(CTQSettingsTable::CondensationIndoorTemperature, 18.0);
    conditions.indoorHumidity = SettingNumber(CTQSettingsTable::CondensationIndoorHumidity, 60.0);
    conditions.outdoorHumidity = SettingNumber(CTQSettingsTable::CondensationOutdoorHumidity, 80.0);
    int zone = 0;
    CTQWallProvince province;
    if (provinceId > 0 && province.ReadData(provinceId, nullptr))
        zone = province.CId;
    conditions.outdoorTemperature =
        SettingNumber(CTQSettingsTable::CondensationOutdoorTemperature, ZoneOutdoorTemperature(zone));
    return conditions;
}

void CTQBSCondensation::SaveConditions(const thermal::MoistureConditions& conditions)
{
    WriteSetting(CTQSettingsTable::CondensationIndoorTemperature, conditions.indoorTemperature);
    WriteSetting(CTQSettingsTable::CondensationIndoorHumidity, conditions.indoorHumidity);
    WriteSetting(CTQSettingsTable::CondensationOutdoorTemperature, conditions.outdoorTemperature);
    WriteSetting(CTQSettingsTable::CondensationOutdoorHumidity, conditions.outdoorHumidity);
}

thermal::VapourProfileResult CTQBSCondensation::Evaluate(const CTQWallData& wall,
                                                         const thermal::MoistureConditions& conditions)
{
    QHash<int, double> permeabilities;
    CTQTimberingVapour::ReadAll(permeabilities); // a table that cannot be read gives no data, never a verdict
    thermal::Layers layers;
    std::vector<double> mu;
    for (const CTQTimberingData& layer : wall.GetTimbering()) {
        tagTQTIMBERINGCHARACTER character;
        character.Thick = layer.GetThick();
        character.DrXs = layer.GetDrXs();
        character.DrXsXz = layer.GetDrXsXz();
        layers.Add(character);
        mu.push_back(permeabilities.value(layer.GetStuffID(), std::nan("")));
    }
    thermal::SurfaceFilms films;
    films.inner = wall.GetNHrXsData();
    films.outerWinter = wall.GetDjWHrXsData();
    return thermal::EvaluateVapourProfile(layers, mu, films, conditions);
}

QStringList CTQBSCondensation::VerdictLines(const CTQWallData& wall, const thermal::VapourProfileResult& result)
{
    if (result.error != TQLoad::ET_OK)
        return {QStringLiteral("无法计算：构造层或室内外条件无效")};
    QStringList lines;
    lines.append(QStringLiteral("内表面温度 %1 ℃，室内空气露点 %2 ℃：%3（裕量 %4 K）")
                     .arg(TQLoad::DblToStr(result.innerSurfaceTemperature, 2), TQLoad::DblToStr(result.dewPoint, 2),
                          result.surfaceCondensation ? QStringLiteral("内表面结露") : QStringLiteral("内表面不结露"),
                          TQLoad::DblToStr(result.surfaceMargin, 2)));
    const CTQArray<CTQTimberingData> layers = wall.GetTimbering();
    switch (result.interstitial) {
    case thermal::InterstitialVerdict::NoVapourData:
        lines.append(QStringLiteral("无法判断：第%1层 %2 无蒸汽渗透系数")
                         .arg(result.missingLayer + 1)
                         .arg(layers[result.missingLayer].GetStuffName()));
        break;
    case thermal::InterstitialVerdict::None:
        lines.append(QStringLiteral("内部不冷凝"));
        break;
    case thermal::InterstitialVerdict::Condensing: {
        // Plane k lies between layers k and k+1 (outside to inside, counted from 1).
        const auto where = [](int plane) { return QStringLiteral("第%1层与第%2层之间").arg(plane).arg(plane + 1); };
        const QString zone =
            result.zoneOuterPlane == result.zoneInnerPlane
                ? where(result.zoneOuterPlane)
                : QStringLiteral("%1至%2").arg(where(result.zoneOuterPlane), where(result.zoneInnerPlane));
        lines.append(QStringLiteral("内部冷凝：%1，冷凝强度 %2 g/(m²·h)")
                         .arg(zone, TQLoad::DblToStr(result.condensationRate, 4)));
        break;
    }
    }
    return lines;
}
