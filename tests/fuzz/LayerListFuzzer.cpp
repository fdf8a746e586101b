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

bool IsAsciiBlank(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

bool IsDigit(const QString& text, qsizetype i)
{
    return i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
}

bool Is(const QString& text, qsizetype i, char c)
{
    return i < text.size() && text[i] == QLatin1Char(c);
}

/// The number text at the start of `item` (after ASCII blanks): sign, digits, with `fraction` a
/// decimal point and an exponent. Empty when the item does not start with a number.
std::string LeadingNumberText(const QString& item, bool fraction)
{
    qsizetype i = 0;
    while (i < item.size() && IsAsciiBlank(item[i].unicode()))
        ++i;
    const qsizetype start = i;
    if (Is(item, i, '+') || Is(item, i, '-'))
        ++i;
    const qsizetype digits = i;
    while (IsDigit(item, i))
        ++i;
    bool any = i > digits;
    if (fraction && Is(item, i, '.')) {
        qsizetype j = i + 1;
        while (IsDigit(item, j))
            ++j;
        if (any || j > i + 1) {
            any = true;
            i = j;
        }
    }
    if (!any)
        return {};
    if (fraction && (Is(item, i, 'e') || Is(item, i, 'E'))) {
        qsizetype j = i + 1;
        if (Is(item, j, '+') || Is(item, j, '-'))
            ++j;
        const qsizetype exponent = j;
        while (IsDigit(item, j))
            ++j;
        if (j > exponent)
            i = j;
    }
    return item.mid(start, i - start).toStdString();
}

int ExpectedInt(const QString& item)
{
    std::string text = LeadingNumberText(item, false);
    if (!text.empty() && text[0] == '+')
        text.erase(0, 1);
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : 0;
}

/// Whether `produced` is what `item` says: its number, correctly rounded, or 0 when it has none or
/// the number overflows. A number below the smallest normal double may also read as 0.
bool IsExpectedDouble(const QString& item, double produced)
{
    const std::string text = LeadingNumberText(item, true);
    if (text.empty())
        return produced == 0.0;
    errno = 0;
    const double value = strtod_l(text.c_str(), nullptr, g_cLocale);
    if (std::isinf(value))
        return produced == 0.0;
    if (errno == ERANGE)
        return produced == 0.0 || produced == value;
    return produced == value;
}

QStringList Items(const QString& list)
{
    return list.isEmpty() ? QStringList() : list.split(QLatin1Char(','));
}

// --- Properties -------------------------------------------------------------------------------

void CheckMaterial(const CTQMateralData& material, int expectedId, const QString& item)
{
    const auto found = g_library->materials.find(expectedId);
    if (found == g_library->materials.end()) {
        FUZZ_REQUIRE(material.GetStuffID() == 0 && material.GetDrXs() == 0.0 && material.GetGMD() == 0.0 &&
                         material.GetBRr() == 0.0,
                     "an ID with no material row gives the empty material", item);
        return;
    }
    const Material& m = found->second;
    FUZZ_REQUIRE(material.GetStuffID() == expectedId && material.GetStuffName() == QString::fromUtf8(m.name) &&
                     SameValue(material.GetDrXs(), m.conductivity) && SameValue(material.GetGMD(), m.density) &&
                     SameValue(material.GetBRr(), m.specificHeat),
                 "a material ID gives that material as stored", item);
}

void CheckParsed(const CTQBoundingStructure& layerSet)
{
    const QStringList ids = Items(layerSet.TIdS);
    const QStringList thicknesses = Items(layerSet.HouDuS);
    const QStringList factors = Items(layerSet.XzXsS);
    FUZZ_REQUIRE(layerSet.m_StuffAry.GetSize() == ids.size(), "one material per ID item", layerSet.TIdS);
    FUZZ_REQUIRE(layerSet.m_HouDuAry.GetSize() == thicknesses.size(), "one thickness per item", layerSet.HouDuS);
    FUZZ_REQUIRE(layerSet.m_XzXsAry.GetSize() == factors.size(), "one factor per item", layerSet.XzXsS);
    for (qsizetype i = 0; i < ids.size(); ++i)
        CheckMaterial(layerSet.m_StuffAry[static_cast<int>(i)], ExpectedInt(ids[i]), ids[i]);
    for (qsizetype i = 0; i < thicknesses.size(); ++i)
        FUZZ_REQUIRE(IsExpectedDouble(thicknesses[i], layerSet.m_HouDuAry[static_cast<int>(i)]),
                     "a thickness is the number its item starts with, or 0", thicknesses[i]);
    for (qsizetype i = 0; i < factors.size(); ++i)
        FUZZ_REQUIRE(IsExpectedDouble(factors[i], layerSet.m_XzXsAry[static_cast<int>(i)]),
                     "a factor is the number its item starts with, or 0", factors[i]);
}

/// A list as the library stores text: what neither engine gives back as bound (U+FFFE, U+FFFF, an
/// unpaired surrogate) as U+FFFD, a leading U+FEFF dropped.
QString AsStored(QString text)
{
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool paired = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        if (paired)
            ++i;
        else if (c.isSurrogate() || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            text[i] = QChar(QChar::ReplacementCharacter);
    }
    return text;
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
        const auto values = [i](double seen, double expected) {
            return QStringLiteral("layer %1: %2, expected %3").arg(i).arg(seen, 0, 'g', 17).arg(expected, 0, 'g', 17);
        };
        FUZZ_REQUIRE(SameValue(layer.GetThick(), thick), "a layer's thickness is its item in metres, NaN when missing",
                     values(layer.GetThick(), thick));
        FUZZ_REQUIRE(SameValue(layer.GetDrXsXz(), factor), "a layer's factor is its item, NaN when missing",
                     values(layer.GetDrXsXz(), factor));
        FUZZ_REQUIRE(layer.GetStuffID() == material.GetStuffID() && SameValue(layer.GetDrXs(), material.GetDrXs()) &&
                         SameValue(layer.GetGMD(), material.GetGMD()) && SameValue(layer.GetBRr(), material.GetBRr()),
                     "a layer has its material's values", QStringLiteral("layer %1").arg(i));
    }
}

void CheckResult(double value, const char* what, bool isK)
{
    FUZZ_REQUIRE(!std::isinf(value), "a result is finite or NaN", QString::fromUtf8(what));
    // K = 1/(1/αi + ΣR + 1/αe) is positive; it rounds to 0 only where the true value is below the
    // smallest double (a film of 1e-320, or a ΣR that overflows).
    if (isK && std::isfinite(value))
        FUZZ_REQUIRE(value >= 0.0, "a finite K is not negative",
                     QString::fromUtf8(what) + u' ' + QString::number(value));
}

void CheckThicknessSearch(const CTQWallData& wall, bool winter)
{
    const double k = winter ? wall.GetDjCrXs() : wall.GetCrXs();
    const double target = std::isfinite(k) ? 0.8 * k : 0.5;
    int index = -2;
    double thickness = kNaN;
    if (winter)
        wall.CurrectDjThick(target, index, thickness);
    else
        wall.CurrectThick(target, index, thickness);
    FUZZ_REQUIRE(index >= -1 && index < wall.GetTimbering().GetSize(), "the search names a layer of the wall or none",
                 QString());
    FUZZ_REQUIRE(index < 0 || std::isfinite(thickness), "a chosen layer gets a finite thickness", QString());
}

void CheckEvaluation(CTQWallData wall)
{
    for (TQDynamicMethod method : {TQDynamicMethod::GB50176, TQDynamicMethod::ISO13786}) {
        CTQWallData::SetDynamicMethod(method);
        wall.Cal(1);
        const TQLoad::ErrorType error = wall.Cal(0);
        CheckResult(wall.GetCrXs(), "K summer", true);
        CheckResult(wall.GetDjCrXs(), "K winter", true);
        CheckResult(wall.GetNCrXs(), "K inner", true);
        CheckResult(wall.GetSj(), "attenuation", false);
        CheckResult(wall.GetYc(), "delay", false);
        if (error == TQLoad::ET_OK)
            FUZZ_REQUIRE(std::isfinite(wall.GetCrXs()) && std::isfinite(wall.GetDjCrXs()) &&
                             std::isfinite(wall.GetNCrXs()) && std::isfinite(wall.GetSj()) &&
                             std::isfinite(wall.GetYc()),
                         "an evaluation without fault gives five numbers", QString());
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
