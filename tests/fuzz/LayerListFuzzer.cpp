// Fuzz target: the layer lists of a construction, the three comma lists its layer set stores
// (material IDs, thicknesses in mm, correction factors of λ).
//
// Input: UTF-8 text. Line 1 holds the material IDs, line 2 the thicknesses, line 3 the factors; an
// optional line 4 the surface coefficients "αe summer,αe winter,αi" (GB 50176 design values where
// an item is missing). Each input is parsed as a loaded record parses it (MakeArray), stored into
// an in-memory library, read back as the construction list reads it (GetBSCodeWallData) and
// evaluated with both dynamic methods. Properties:
//  - each list gives as many items as it has commas plus one (none for an empty list), each item
//    the number its text starts with (ASCII blanks skipped), or 0 when there is none or it does
//    not fit; an ID with no material row gives the empty material;
//  - a layer whose thickness or factor is missing is NaN in the wall, never a value read past the
//    end of a shorter list (the containers are bounds-checked in this build);
//  - the lists read back from the library as stored (text neither engine keeps as U+FFFD);
//  - the five results are finite or NaN, a finite K is not negative, ET_OK means all five are finite,
//    and a thickness search names a layer of the wall (or none) with a finite thickness.
#include "fuzz/FuzzCheck.h"

#include "host/core/CTQUserWork.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/CTQLibraryDatabase.h"
#include "host/walldata/CTQCrXs.h"
#include "host/walldata/CTQWallData.h"
#include "library/CTQBSDataAdmin.h"
#include "records/CTQBSCode.h"
#include "records/CTQBoundingStructure.h"
#include "records/CTQTimbering.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <string>

#include <locale.h>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kConstructionId = 1;

struct Material
{
    const char* name;
    double conductivity; // W/(m·K)
    double density;      // kg/m³
    double specificHeat; // kJ/(kg·K)
};

// Ordinary materials and the values a library can hold that the calculation must refuse or survive.
const Material kMaterials[] = {
    {"水泥砂浆", 0.93, 1800.0, 1.05},
    {"重砂浆黏土砖砌体", 0.81, 1800.0, 1.05},
    {"聚苯乙烯泡沫塑料", 0.042, 30.0, 1.38},
    {"空气层", 0.17, 0.0, 0.0},
    {"无导热", 0.0, 1000.0, 1.0},
    {"负密度", 0.5, -1800.0, 1.05},
    {"未知导热", kNaN, 1800.0, 1.05},
    {"超导", 1e300, 1e300, 1e300},
    {"极微导热", 1e-300, 1e-300, 1e-300},
    {"无穷导热", std::numeric_limits<double>::infinity(), 1.0, 1.0},
};

struct Library
{
    QTemporaryDir folder;
    std::map<int, Material> materials; // by material ID
};

Library* g_library = nullptr;
locale_t g_cLocale = nullptr;

// --- The documented reading of one list item, written independently of TQLoad -----------------

/// The number text at the start of `item` (after ASCII blanks): sign, digits, with `fraction` a
/// decimal point and an exponent. Empty when the item does not start with a number.
std::string LeadingNumberText(const QString& item, bool fraction)
{
    static const QRegularExpression integer(QStringLiteral("^[ \\t-\\r]*(?:\\+(?=[0-9]))?(-?[0-9]+)"));
    static const QRegularExpression decimal(
        QStringLiteral("^[ \\t-\\r]*([+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?)"));
    return (fraction ? decimal : integer).match(item).captured(1).toStdString();
}

int ExpectedInt(const QString& item)
{
    const std::string text = LeadingNumberText(item, false);
    int value = 0;
    return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc() ? value : 0;
}

/// Whether `produced` is what `item` says: its number, correctly rounded, or 0 when it has none or
/// the number overflows. A number below the smallest normal double may also read as 0.
bool IsExpectedDouble(const QString& item, double produced)
{
    const std::string text = LeadingNumberText(item, true);
    errno = 0;
    const double value = text.empty() ? 0.0 : strtod_l(text.c_str(), nullptr, g_cLocale);
    return std::isinf(value) ? produced == 0.0 : produced == value || (errno == ERANGE && produced == 0.0);
}

QStringList Items(const QString& list)
{
    return list.isEmpty() ? QStringList() : list.split(QLatin1Char(','));
}

// --- Properties -------------------------------------------------------------------------------

/// A material or a wall layer with these values.
template <typename Material>
bool SameMaterial(const Material& a, int id, double conductivity, double density, double specificHeat)
{
    return a.GetStuffID() == id && SameValue(a.GetDrXs(), conductivity) && SameValue(a.GetGMD(), density) &&
           SameValue(a.GetBRr(), specificHeat);
}

void CheckMaterial(const CTQMateralData& material, int expectedId, const QString& item)
{
    const auto found = g_library->materials.find(expectedId);
    if (found == g_library->materials.end()) {
        FUZZ_REQUIRE(SameMaterial(material, 0, 0.0, 0.0, 0.0), "an ID with no material row gives the empty material",
                     item);
        return;
    }
    const Material& m = found->second;
    FUZZ_REQUIRE(SameMaterial(material, expectedId, m.conductivity, m.density, m.specificHeat) &&
                     material.GetStuffName() == QString::fromUtf8(m.name),
                 "a material ID gives that material as stored", item);
}

/// Each item of `list` parsed into `parsed` as `matches` says.
template <typename Array, typename Matches>
void CheckList(const QString& list, const Array& parsed, const char* property, Matches matches)
{
    const QStringList items = Items(list);
    FUZZ_REQUIRE(parsed.GetSize() == items.size(), "one parsed value per item", list);
    for (int i = 0; i < parsed.GetSize(); ++i)
        FUZZ_REQUIRE(matches(items[i], parsed[i]), property, items[i]);
}

void CheckParsed(const CTQBoundingStructure& layerSet)
{
    CheckList(layerSet.TIdS, layerSet.m_StuffAry, "a material ID gives that material",
              [](const QString& item, const CTQMateralData& material) {
                  CheckMaterial(material, ExpectedInt(item), item);
                  return true;
              });
    CheckList(layerSet.HouDuS, layerSet.m_HouDuAry, "a thickness is the number its item starts with, or 0",
              IsExpectedDouble);
    CheckList(layerSet.XzXsS, layerSet.m_XzXsAry, "a factor is the number its item starts with, or 0",
              IsExpectedDouble);
}

/// A list as the library stores text: what neither engine gives back as bound (U+FFFE, U+FFFF) as
/// U+FFFD, a leading U+FEFF dropped. (Text decoded from UTF-8 holds no unpaired surrogate.)
QString AsStored(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text.replace(QChar(0xFFFE), QChar::ReplacementCharacter).replace(QChar(0xFFFF), QChar::ReplacementCharacter);
}

// The layer set as the library reads it: the lists as stored, parsed as documented.
CTQBoundingStructure ReadBack(const CTQBoundingStructure& stored)
{
    CTQBoundingStructure readBack;
    CTQBSDataAdmin::GetBSDataManager()->GetBS(readBack, kConstructionId);
    FUZZ_REQUIRE(readBack.TIdS == AsStored(stored.TIdS) && readBack.HouDuS == AsStored(stored.HouDuS) &&
                     readBack.XzXsS == AsStored(stored.XzXsS),
                 "the lists read back as stored", stored.TIdS + u'\n' + stored.HouDuS + u'\n' + stored.XzXsS);
    CheckParsed(readBack);
    return readBack;
}

// The wall made from the stored layer set: the parsed values, NaN where a shorter list has none.
void CheckWallLayers(const CTQWallData& wall, const CTQBoundingStructure& layerSet)
{
    const CTQArray<CTQTimberingData> layers = wall.GetTimbering();
    FUZZ_REQUIRE(layers.GetSize() == layerSet.m_StuffAry.GetSize(), "one wall layer per material", QString());
    for (int i = 0; i < layers.GetSize(); ++i) {
        const CTQTimberingData& layer = layers[i];
        const CTQMateralData& material = layerSet.m_StuffAry[i];
        const double thick = i < layerSet.m_HouDuAry.GetSize() ? layerSet.m_HouDuAry[i] / 1000.0 : kNaN;
        const double factor = i < layerSet.m_XzXsAry.GetSize() ? layerSet.m_XzXsAry[i] : kNaN;
        const QString shown = QStringLiteral("layer %1: thickness %2, factor %3")
                                  .arg(i)
                                  .arg(layer.GetThick(), 0, 'g', 17)
                                  .arg(layer.GetDrXsXz(), 0, 'g', 17);
        FUZZ_REQUIRE(SameValue(layer.GetThick(), thick) && SameValue(layer.GetDrXsXz(), factor),
                     "a layer's thickness (in metres) and factor are its items, NaN when missing", shown);
        FUZZ_REQUIRE(SameMaterial(layer, material.GetStuffID(), material.GetDrXs(), material.GetGMD(), material.GetBRr()),
                     "a layer has its material's values", shown);
    }
}

void CheckThicknessSearch(const CTQWallData& wall, bool winter)
{
    const double k = winter ? wall.GetDjCrXs() : wall.GetCrXs();
    int index = -2;
    double thickness = kNaN;
    const double target = std::isfinite(k) ? 0.8 * k : 0.5;
    if (winter)
        wall.CurrectDjThick(target, index, thickness);
    else
        wall.CurrectThick(target, index, thickness);
    FUZZ_REQUIRE(index >= -1 && index < wall.GetTimbering().GetSize() && (index < 0 || std::isfinite(thickness)),
                 "the search names a layer of the wall (with a finite thickness) or none",
                 QStringLiteral("layer %1: %2").arg(index).arg(thickness));
}

void CheckEvaluation(CTQWallData wall)
{
    for (TQDynamicMethod method : {TQDynamicMethod::GB50176, TQDynamicMethod::ISO13786}) {
        CTQWallData::SetDynamicMethod(method);
        wall.Cal(1);
        const bool ok = wall.Cal(0) == TQLoad::ET_OK;
        const double results[] = {wall.GetCrXs(), wall.GetDjCrXs(), wall.GetNCrXs(), wall.GetSj(), wall.GetYc()};
        for (int i = 0; i < 5; ++i) {
            const QString shown = QStringLiteral("result %1 (K summer, winter, inner, attenuation, delay): %2")
                                      .arg(i)
                                      .arg(results[i]);
            FUZZ_REQUIRE(!std::isinf(results[i]), "a result is finite or NaN", shown);
            FUZZ_REQUIRE(!ok || std::isfinite(results[i]), "an evaluation without fault gives five numbers", shown);
            // K = 1/(1/αi + ΣR + 1/αe) is positive; it rounds to 0 only where the true value is below
            // the smallest double (a film of 1e-320, or a ΣR that overflows).
            FUZZ_REQUIRE(i > 2 || !(results[i] < 0.0), "a finite K is not negative", shown);
        }
        CheckThicknessSearch(wall, false);
        CheckThicknessSearch(wall, true);
    }
    CTQWallData::SetDynamicMethod(TQDynamicMethod::GB50176);
}

CTQCrXs Films(const QString& line)
{
    const QStringList items = Items(line);
    CTQCrXs films; // GB 50176 design values
    double* const coefficients[] = {&films.m_dWHrXs, &films.m_dDjWHrXs, &films.m_dNHrXs};
    for (qsizetype i = 0; i < items.size() && i < 3; ++i) {
        const std::string text = LeadingNumberText(items[i], true);
        if (!text.empty())
            *coefficients[i] = strtod_l(text.c_str(), nullptr, g_cLocale);
    }
    return films;
}

void OpenLibrary()
{
    g_library = new Library;
    FUZZ_REQUIRE(g_library->folder.isValid(), "a temporary folder", QString());
    std::atexit([] { delete g_library; });
    CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    settings->SetIniPath(g_library->folder.filePath(QStringLiteral("tqwall.ini")));
    CTQUserWork::GetUserWork()->SetUserDataDir(g_library->folder.filePath(QStringLiteral("user")));
    CTQDatabaseConfig config;
    config.path = QStringLiteral(":memory:");
    QString error;
    std::unique_ptr<CADODatabase> database = CTQLibraryDatabase::Open(config, &error);
    FUZZ_REQUIRE(database != nullptr, "the in-memory library opens", error);
    settings->SetLoadParamDatabase(std::move(database));
    for (const Material& m : kMaterials) {
        CTQTimbering material;
        material.Init();
        material.SetStuffName(QString::fromUtf8(m.name));
        material.SetDrXs(m.conductivity);
        material.SetGMD(m.density);
        material.SetBRr(m.specificHeat);
        FUZZ_REQUIRE(material.AddIfNotExist(nullptr, 1) == TQLoad::DBS_Added, "a material is added",
                     material.GetStuffName());
        g_library->materials[material.GetID()] = m;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static int appArgc = *argc;
    static QCoreApplication app(appArgc, *argv);
    g_cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    OpenLibrary();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)).split(u'\n');

    CTQBoundingStructure layerSet;
    layerSet.BSCId = kConstructionId;
    layerSet.TIdS = lines.value(0);
    layerSet.HouDuS = lines.value(1);
    layerSet.XzXsS = lines.value(2);
    const TQLoad::DBStatusCode stored = layerSet.AddOrUpdate(nullptr);
    FUZZ_REQUIRE(stored == TQLoad::DBS_Added || stored == TQLoad::DBS_Updated, "the layer set is stored", QString());
    const CTQBoundingStructure readBack = ReadBack(layerSet);

    CTQBSCode code;
    code.SetID(kConstructionId);
    const CTQWallData wall = CTQBSDataAdmin::GetBSDataManager()->GetBSCodeWallData(code, true, Films(lines.value(3)));
    CheckWallLayers(wall, readBack);
    CheckEvaluation(wall);
    return 0;
}
