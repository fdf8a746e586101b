#include "app/CTQCommandLine.h"

#include "host/walldata/CTQCrXs.h"
#include "host/walldata/CTQWallData.h"
#include "host/db/CADORecordset.h"
#include "host/db/TQPrecision.h"
#include "host/core/TQString.h"
#include "library/CTQBSCoefficientSearch.h"
#include "library/CTQBSDataAdmin.h"
#include "library/CTQBSCondensation.h"
#include "library/CTQBSConstructionSheet.h"
#include "library/CTQLibraryExchange.h"
#include "library/CTQLibrarySeed.h"
#include "library/CTQMaterialUsage.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/CTQLibraryDatabase.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"
#include "records/TQRecordOps.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMap>

#include <cmath>

namespace {

// A coefficient as text with the host's decimals; "-" when it could not be evaluated.
QString K(double value)
{
    return TQLoad::DblToStr(value, TQLoad::GetCrXsJd());
}

QJsonValue JsonNumber(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

bool ParseNumber(const QString& text, double* value)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*value);
}

} // namespace

CTQCommandLine::CTQCommandLine(QTextStream& out, QTextStream& err) : m_Out(out), m_Err(err) {}

const QList<CTQCommandLine::Command>& CTQCommandLine::Commands()
{
    static const QList<Command> commands{
        {QStringLiteral("list"), QStringLiteral("tqwall list"), &CTQCommandLine::RunList},
        {QStringLiteral("calc"), QStringLiteral("tqwall calc ID [--json] [--profile [--ti T --phi-i RH --te T --phi-e RH]]"),
         &CTQCommandLine::RunCalc},
        {QStringLiteral("query"), QStringLiteral("tqwall query --min A --max B [--kind 外墙]"), &CTQCommandLine::RunQuery},
        {QStringLiteral("materials"), QStringLiteral("tqwall materials [--json | --where-used NAME [--province P]]"),
         &CTQCommandLine::RunMaterials},
        {QStringLiteral("export"),
         QStringLiteral("tqwall export (--all | --type T | --category C | --province P | --common) -o FILE"),
         &CTQCommandLine::RunExport},
        {QStringLiteral("export-materials"), QStringLiteral("tqwall export-materials -o FILE"),
         &CTQCommandLine::RunExportMaterials},
        {QStringLiteral("import"), QStringLiteral("tqwall import FILE [--on-duplicate skip|rename|replace]"),
         &CTQCommandLine::RunImport},
        {QStringLiteral("report"), QStringLiteral("tqwall report ID [ID ...] -o FILE.pdf"), &CTQCommandLine::RunReport},
    };
    return commands;
}

void CTQCommandLine::AddOptions(QCommandLineParser& parser)
{
    parser.addOptions({
        {QStringLiteral("db"), QStringLiteral("library database file"), QStringLiteral("PATH")},
        {QStringLiteral("json"), QStringLiteral("calc, materials: output as JSON")},
        {QStringLiteral("profile"), QStringLiteral("calc: temperature and vapour profile, condensation check")},
        {QStringLiteral("ti"), QStringLiteral("calc --profile: indoor temperature, °C"), QStringLiteral("T")},
        {QStringLiteral("phi-i"), QStringLiteral("calc --profile: indoor relative humidity, %"), QStringLiteral("RH")},
        {QStringLiteral("te"), QStringLiteral("calc --profile: outdoor temperature, °C"), QStringLiteral("T")},
        {QStringLiteral("phi-e"), QStringLiteral("calc --profile: outdoor relative humidity, %"), QStringLiteral("RH")},
        {QStringLiteral("min"), QStringLiteral("query: smallest K"), QStringLiteral("A")},
        {QStringLiteral("max"), QStringLiteral("query: largest K"), QStringLiteral("B")},
        {QStringLiteral("kind"), QStringLiteral("query: 外墙, 内墙, 屋面, 楼板, 门 or 窗"), QStringLiteral("KIND")},
        {QStringLiteral("all"), QStringLiteral("export: the whole library")},
        {QStringLiteral("type"), QStringLiteral("export: the constructions of one type"), QStringLiteral("T")},
        {QStringLiteral("category"), QStringLiteral("export: the types of one category"), QStringLiteral("C")},
        {QStringLiteral("province"),
         QStringLiteral("export: the constructions of one province; materials --where-used: the material's province"),
         QStringLiteral("P")},
        {QStringLiteral("where-used"), QStringLiteral("materials: the constructions made of the material"),
         QStringLiteral("NAME")},
        {QStringLiteral("common"), QStringLiteral("export: the common constructions")},
        {{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("export, report: the file to write"),
         QStringLiteral("FILE")},
        {QStringLiteral("on-duplicate"),
         QStringLiteral("import: skip (keep the library's), rename (add as \"name (2)\") or replace"),
         QStringLiteral("POLICY")},
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("show this help")},
        {{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("show the version")},
    });
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("a command (below), or a project file to open in the window"));
}

QString CTQCommandLine::Usage()
{
    QStringList lines{QStringLiteral("用法：tqwall [--db PATH] [项目文件]   打开窗口")};
    for (const Command& command : Commands())
        lines.append(QStringLiteral("      %1 [--db PATH]").arg(command.usage));
    return lines.join(QLatin1Char('\n'));
}

bool CTQCommandLine::IsCommand(const QString& word)
{
    for (const Command& command : Commands()) {
        if (command.name == word)
            return true;
    }
    return false;
}

bool CTQCommandLine::WantsWindow(const QStringList& arguments)
{
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("tqwall")} + arguments))
        return false; // the command line reports what it refuses
    const QStringList words = parser.positionalArguments();
    return !parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("version")) &&
           (words.isEmpty() || !IsCommand(words.front()));
}

void CTQCommandLine::WindowArguments(const QStringList& arguments, QString* databasePath, QString* project)
{
    QCommandLineParser parser;
    AddOptions(parser);
    parser.parse(QStringList{QStringLiteral("tqwall")} + arguments);
    *databasePath = parser.value(QStringLiteral("db"));
    *project = parser.positionalArguments().value(0);
}

int CTQCommandLine::Fail(ExitCode code, const QString& message)
{
    m_Err << message << Qt::endl;
    return code;
}

bool CTQCommandLine::OpenLibrary(const QString& databasePath)
{
    // A command only reads: a library file named on the command line must exist. Without one the
    // default library is used, and made on first use.
    if (!databasePath.isEmpty() && !QFileInfo::exists(databasePath)) {
        m_Err << QStringLiteral("围护结构库文件不存在：%1").arg(databasePath) << Qt::endl;
        return false;
    }
    QString error;
    QStringList duplicates;
    if (CTQLibrarySeed::OpenLibrary(databasePath, &error, &duplicates)) {
        for (const QString& duplicate : duplicates)
            m_Err << QStringLiteral("警告：%1").arg(duplicate) << Qt::endl;
        return true;
    }
    m_Err << QStringLiteral("无法打开围护结构库：%1").arg(error) << Qt::endl;
    return false;
}

int CTQCommandLine::Run(const QStringList& arguments)
{
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("tqwall")} + arguments))
        return Fail(BadInput, parser.errorText() + QLatin1Char('\n') + Usage());
    if (parser.isSet(QStringLiteral("help"))) {
        m_Out << QStringLiteral("TQWall：围护结构库") << Qt::endl << Usage() << Qt::endl;
        return Ok;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        m_Out << QStringLiteral("tqwall %1").arg(QStringLiteral(TQWALL_VERSION)) << Qt::endl;
        return Ok;
    }
    const QStringList words = parser.positionalArguments();
    for (const Command& command : Commands()) {
        if (!words.isEmpty() && command.name == words.front())
            return (this->*command.run)(parser, words.mid(1));
    }
    return Fail(BadInput, Usage());
}

int CTQCommandLine::RunList(const QCommandLineParser& parser, const QStringList& words)
{
    if (!words.isEmpty())
        return Fail(BadInput, QStringLiteral("用法：tqwall list"));
    return OpenLibrary(parser.value(QStringLiteral("db"))) ? List() : NoLibrary;
}

int CTQCommandLine::RunCalc(const QCommandLineParser& parser, const QStringList& words)
{
    if (words.size() != 1)
        return Fail(BadInput, QStringLiteral("用法：tqwall calc ID [--json] [--profile [--ti T --phi-i RH --te T --phi-e RH]]"));
    const QStringList conditionOptions{QStringLiteral("ti"), QStringLiteral("phi-i"), QStringLiteral("te"),
                                       QStringLiteral("phi-e")};
    if (!parser.isSet(QStringLiteral("profile"))) {
        for (const QString& option : conditionOptions) {
            if (parser.isSet(option))
                return Fail(BadInput, QStringLiteral("--%1 只用于 --profile").arg(option));
        }
        return OpenLibrary(parser.value(QStringLiteral("db"))) ? Calc(words.front(), parser.isSet(QStringLiteral("json")))
                                                               : NoLibrary;
    }
    for (const QString& option : conditionOptions) {
        double value = 0.0;
        if (parser.isSet(option) && !ParseNumber(parser.value(option), &value))
            return Fail(BadInput, QStringLiteral("--%1 不是数值：%2").arg(option, parser.value(option)));
        if (option.startsWith(QLatin1String("phi")) && parser.isSet(option) && (value < 0.0 || value > 100.0))
            return Fail(BadInput, QStringLiteral("--%1 应在 0 到 100 之间：%2").arg(option, parser.value(option)));
    }
    if (!OpenLibrary(parser.value(QStringLiteral("db"))))
        return NoLibrary;
    return Profile(words.front(), parser, parser.isSet(QStringLiteral("json")));
}

int CTQCommandLine::RunQuery(const QCommandLineParser& parser, const QStringList& words)
{
    if (!words.isEmpty() || !parser.isSet(QStringLiteral("min")) || !parser.isSet(QStringLiteral("max")))
        return Fail(BadInput, QStringLiteral("用法：tqwall query --min A --max B [--kind 外墙]"));
    if (!OpenLibrary(parser.value(QStringLiteral("db"))))
        return NoLibrary;
    return Query(parser.value(QStringLiteral("min")), parser.value(QStringLiteral("max")),
                 parser.value(QStringLiteral("kind")));
}

int CTQCommandLine::List()
{
    // The national library, then each province's own constructions, category by category. All
    // constructions are read and evaluated at once; the tree gives the order. Lines end without
    // a flush each: a large library is thousands of lines.
    CTQBSDataAdmin admin;
    const tagBSNode* root = admin.GetBSNodes(1);
    QHash<int, QHash<int, CTQArray<CTQWallData>>> wallsOfProvince;
    admin.GetAllBSCodeCWallDataAry(wallsOfProvince, true, CTQCrXs());
    const int decimals = TQLoad::GetCrXsJd();
    auto listCategories = [&](const tagBSNode* parent, int provinceId, bool skipEmpty) {
        const QHash<int, CTQArray<CTQWallData>> wallsOfType = wallsOfProvince.value(provinceId);
        for (const tagBSNode* category : parent->Children) {
            if (skipEmpty && category->Children.IsEmpty())
                continue;
            m_Out << "  " << category->Name << '\n';
            for (const tagBSNode* typeNode : category->Children) {
                m_Out << "    " << typeNode->Name << '\n';
                const auto walls = wallsOfType.constFind(typeNode->ID);
                if (walls == wallsOfType.cend())
                    continue;
                for (const CTQWallData& wall : *walls)
                    m_Out << "      [" << wall.m_nBSCId << "] " << wall.m_strBSCName
                          << "  K(夏)=" << TQLoad::DblToStr(wall.GetCrXs(), decimals)
                          << "  K(冬)=" << TQLoad::DblToStr(wall.GetDjCrXs(), decimals) << '\n';
            }
        }
    };
    m_Out << root->Children[0]->Name << '\n';
    listCategories(root->Children[0], 0, false);
    for (const tagBSNode* province : root->Children[2]->Children) {
        bool hasTypes = false;
        for (const tagBSNode* category : province->Children)
            hasTypes = hasTypes || !category->Children.IsEmpty();
        if (!hasTypes)
            continue;
        m_Out << province->Name << '\n';
        listCategories(province, province->ID, true);
    }
    m_Out.flush();
    return Ok;
}

int CTQCommandLine::ReadConstruction(const QString& idText, CTQBSCode* code)
{
    bool ok = false;
    const int id = idText.toInt(&ok);
    if (!ok || id <= 0)
        return Fail(BadInput, QStringLiteral("围护结构 ID 应为正整数：%1").arg(idText));
    if (!code->ReadData(id, nullptr))
        return Fail(UnknownRecord, QStringLiteral("没有 ID 为 %1 的围护结构").arg(id));
    return Ok;
}

bool CTQCommandLine::ReadProvinceNames(QMap<int, QString>* names)
{
    CTQWallProvince province;
    CADORecordset rows;
    if (!province.ReadRecords(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(province.GetTableName()), rows,
                              nullptr))
        return false;
    for (; !rows.IsEOF(); rows.MoveNext()) {
        province.MakeObjectFromRS(rows);
        names->insert(province.GetID(), province.Name);
    }
    return true;
}

int CTQCommandLine::Calc(const QString& idText, bool json)
{
    CTQBSCode code;
    if (const int failed = ReadConstruction(idText, &code); failed != Ok)
        return failed;
    CTQBSType type;
    type.ReadData(code.BSTId, nullptr);
    CTQBSCategory category;
    category.ReadData(type.BSDLId, nullptr);
    CTQBSDataAdmin admin;
    const CTQWallData wall = admin.GetBSCodeWallData(code, true, CTQCrXs());
    if (json)
        PrintWallJson(wall, category.Name, type.Name);
    else
        PrintWall(wall, category.Name, type.Name);
    return Ok;
}

int CTQCommandLine::Profile(const QString& idText, const QCommandLineParser& parser, bool json)
{
    CTQBSCode code;
    if (const int failed = ReadConstruction(idText, &code); failed != Ok)
        return failed;
    thermal::MoistureConditions conditions = CTQBSCondensation::GetConditions(code.ProvinceId);
    const auto option = [&parser](const char* name, double* value) {
        if (parser.isSet(QLatin1String(name)))
            ParseNumber(parser.value(QLatin1String(name)), value);
    };
    option("ti", &conditions.indoorTemperature);
    option("phi-i", &conditions.indoorHumidity);
    option("te", &conditions.outdoorTemperature);
    option("phi-e", &conditions.outdoorHumidity);
    CTQBSDataAdmin admin;
    const CTQWallData wall = admin.GetBSCodeWallData(code, true, CTQCrXs());
    const thermal::VapourProfileResult result = CTQBSCondensation::Evaluate(wall, conditions);
    const QStringList verdict = CTQBSCondensation::VerdictLines(wall, result);
    if (json)
        PrintProfileJson(wall, conditions, result, verdict);
    else
        PrintProfile(wall, conditions, result, verdict);
    return Ok;
}

void CTQCommandLine::PrintProfile(const CTQWallData& wall, const thermal::MoistureConditions& conditions,
                                  const thermal::VapourProfileResult& result, const QStringList& verdict)
{
    m_Out << "[" << wall.m_nBSCId << "] " << wall.m_strBSCName << Qt::endl
          << QStringLiteral("室内 %1 ℃ / %2 %，室外 %3 ℃ / %4 %")
                 .arg(TQLoad::DblToStr(conditions.indoorTemperature, 1), TQLoad::DblToStr(conditions.indoorHumidity, 0),
                      TQLoad::DblToStr(conditions.outdoorTemperature, 1),
                      TQLoad::DblToStr(conditions.outdoorHumidity, 0))
          << Qt::endl;
    m_Out << "界面(外-内)	位置(mm)	温度(℃)	饱和水蒸气分压(Pa)	水蒸气分压(Pa)" << Qt::endl;
    for (std::size_t plane = 0; plane < result.planes.size(); ++plane) {
        const thermal::ProfilePlane& state = result.planes[plane];
        m_Out << plane << '\t' << TQLoad::DblToStr(state.position * 1000.0, 1) << '\t'
              << TQLoad::DblToStr(state.temperature, 2) << '\t' << TQLoad::DblToStr(state.saturation, 1) << '\t'
              << (std::isfinite(state.partial) ? TQLoad::DblToStr(state.partial, 1) : QStringLiteral("-")) << Qt::endl;
    }
    for (const QString& line : verdict)
        m_Out << line << Qt::endl;
}

void CTQCommandLine::PrintProfileJson(const CTQWallData& wall, const thermal::MoistureConditions& conditions,
                                      const thermal::VapourProfileResult& result, const QStringList& verdict)
{
    QJsonArray planes;
    for (const thermal::ProfilePlane& state : result.planes)
        planes.append(QJsonObject{{QStringLiteral("positionMm"), JsonNumber(state.position * 1000.0)},
                                  {QStringLiteral("temperature"), JsonNumber(state.temperature)},
                                  {QStringLiteral("saturationPressure"), JsonNumber(state.saturation)},
                                  {QStringLiteral("vapourPressure"), JsonNumber(state.partial)}});
    QJsonArray layers;
    const CTQArray<CTQTimberingData> timbering = wall.GetTimbering();
    for (int i = 0; i < timbering.GetSize(); ++i) {
        const double resistance =
            static_cast<std::size_t>(i) < result.layerResistance.size() ? result.layerResistance[i] : std::nan("");
        layers.append(QJsonObject{{QStringLiteral("name"), timbering[i].GetStuffName()},
                                  {QStringLiteral("thicknessMm"), JsonNumber(timbering[i].GetThick() * 1000.0)},
                                  {QStringLiteral("vapourResistance"), JsonNumber(resistance)}});
    }
    const char* interstitial = result.interstitial == thermal::InterstitialVerdict::Condensing ? "condensing"
                               : result.interstitial == thermal::InterstitialVerdict::None   ? "none"
                                                                                             : "noVapourData";
    const auto plane = [](int index) { return index >= 0 ? QJsonValue(index) : QJsonValue(QJsonValue::Null); };
    const QJsonObject out{
        {QStringLiteral("id"), wall.m_nBSCId},
        {QStringLiteral("name"), wall.m_strBSCName},
        {QStringLiteral("conditions"),
         QJsonObject{{QStringLiteral("ti"), conditions.indoorTemperature},
                     {QStringLiteral("phiI"), conditions.indoorHumidity},
                     {QStringLiteral("te"), conditions.outdoorTemperature},
                     {QStringLiteral("phiE"), conditions.outdoorHumidity}}},
        {QStringLiteral("innerFilm"), JsonNumber(wall.GetNHrXsData())},
        {QStringLiteral("kWinter"), JsonNumber(wall.GetDjCrXs())},
        {QStringLiteral("planes"), planes},
        {QStringLiteral("layers"), layers},
        {QStringLiteral("innerSurfaceTemperature"), JsonNumber(result.innerSurfaceTemperature)},
        {QStringLiteral("dewPoint"), JsonNumber(result.dewPoint)},
        {QStringLiteral("surfaceMargin"), JsonNumber(result.surfaceMargin)},
        {QStringLiteral("surfaceCondensation"), result.surfaceCondensation},
        {QStringLiteral("interstitial"), QLatin1String(interstitial)},
        {QStringLiteral("missingLayer"), plane(result.missingLayer >= 0 ? result.missingLayer + 1 : -1)},
        {QStringLiteral("zoneOuterPlane"), plane(result.zoneOuterPlane)},
        {QStringLiteral("zoneInnerPlane"), plane(result.zoneInnerPlane)},
        {QStringLiteral("condensationRate"), JsonNumber(result.condensationRate)},
        {QStringLiteral("verdict"), QJsonArray::fromStringList(verdict)}};
    m_Out << QString::fromUtf8(QJsonDocument(out).toJson(QJsonDocument::Indented));
}

void CTQCommandLine::PrintWall(const CTQWallData& wall, const QString& category, const QString& type)
{
    m_Out << "[" << wall.m_nBSCId << "] " << wall.m_strBSCName << "  (" << category << " / " << type << ")" << Qt::endl;
    m_Out << "材质名称(外-内)\t厚度(mm)\t导热修正系数" << Qt::endl;
    for (const CTQTimberingData& layer : wall.GetTimbering())
        m_Out << layer.GetStuffName() << '\t' << TQLoad::DblToStr(layer.GetThick() * 1000.0, 2) << '\t'
              << TQLoad::DblToStr(layer.GetDrXsXz(), 2) << Qt::endl;
    m_Out << "传热系数(夏)(W/m^2·K): " << TQLoad::DblToStr(wall.GetCrXs(), 2) << Qt::endl
          << "传热系数(冬)(W/m^2·K): " << TQLoad::DblToStr(wall.GetDjCrXs(), 2) << Qt::endl
          << "传热系数(内)(W/m^2·K): " << TQLoad::DblToStr(wall.GetNCrXs(), 2) << Qt::endl
          << "传热衰减: " << TQLoad::DblToStr(wall.GetSj(), 2) << Qt::endl
          << "传热延迟(h): " << TQLoad::DblToStr(wall.GetYc(), 1) << Qt::endl;
}

void CTQCommandLine::PrintWallJson(const CTQWallData& wall, const QString& category, const QString& type)
{
    QJsonArray layers;
    for (const CTQTimberingData& layer : wall.GetTimbering()) {
        layers.append(QJsonObject{{QStringLiteral("materialId"), layer.GetStuffID()},
                                  {QStringLiteral("material"), layer.GetStuffName()},
                                  {QStringLiteral("thicknessMm"), JsonNumber(layer.GetThick() * 1000.0)},
                                  {QStringLiteral("correctionFactor"), JsonNumber(layer.GetDrXsXz())},
                                  {QStringLiteral("conductivity"), JsonNumber(layer.GetDrXs())},
                                  {QStringLiteral("density"), JsonNumber(layer.GetGMD())},
                                  {QStringLiteral("specificHeat"), JsonNumber(layer.GetBRr())}});
    }
    const QJsonObject result{{QStringLiteral("id"), wall.m_nBSCId},
                             {QStringLiteral("name"), wall.m_strBSCName},
                             {QStringLiteral("category"), category},
                             {QStringLiteral("type"), type},
                             {QStringLiteral("layers"), layers},
                             {QStringLiteral("kSummer"), JsonNumber(wall.GetCrXs())},
                             {QStringLiteral("kWinter"), JsonNumber(wall.GetDjCrXs())},
                             {QStringLiteral("kInner"), JsonNumber(wall.GetNCrXs())},
                             {QStringLiteral("attenuation"), JsonNumber(wall.GetSj())},
                             {QStringLiteral("delayHours"), JsonNumber(wall.GetYc())}};
    m_Out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Indented));
}

int CTQCommandLine::Query(const QString& minText, const QString& maxText, const QString& kind)
{
    double minValue = 0.0, maxValue = 0.0;
    if (!ParseNumber(minText, &minValue) || !ParseNumber(maxText, &maxValue))
        return Fail(BadInput, QStringLiteral("传热系数范围应为数字：%1 - %2").arg(minText, maxText));
    if (minValue >= maxValue)
        return Fail(BadInput, QStringLiteral("最小值不能大于最大值！"));
    const int position = kind.isEmpty() ? -1 : CTQBSCoefficientSearch::KindPosition(kind);
    if (!kind.isEmpty() && position < 0)
        return Fail(BadInput, QStringLiteral("未知的类型：%1（可选：%2）")
                                  .arg(kind, CTQBSCoefficientSearch::KindNames().join(QStringLiteral("、"))));
    CTQBSCoefficientSearch search;
    const QList<TQCoefficientHit> hits =
        position < 0 ? search.SearchAll(minValue, maxValue) : search.SearchKind(position, minValue, maxValue);
    m_Out << "序号\t大类\t类型\t名称\tID\t传热系数(W/m^2·K)\t传热衰减\t传热延迟(h)" << Qt::endl;
    int number = 0;
    for (const TQCoefficientHit& hit : hits)
        m_Out << ++number << '\t' << hit.categoryName << '\t' << hit.typeName << '\t' << hit.wall.m_strBSCName << '\t'
              << hit.wall.m_nBSCId << '\t' << K(hit.wall.GetCrXs()) << '\t'
              << TQLoad::DblToStr(hit.wall.GetSj(), TQLoad::GetCrSjJd()) << '\t'
              << TQLoad::DblToStr(hit.wall.GetYc(), TQLoad::GetCrYcJd()) << Qt::endl;
    if (hits.isEmpty())
        m_Out << "没有找到满足要求的传热系数！" << Qt::endl;
    return Ok;
}

int CTQCommandLine::RunMaterials(const QCommandLineParser& parser, const QStringList& words)
{
    const bool whereUsed = parser.isSet(QStringLiteral("where-used"));
    if (!words.isEmpty() || (whereUsed && parser.isSet(QStringLiteral("json"))) ||
        (!whereUsed && parser.isSet(QStringLiteral("province"))))
        return Fail(BadInput, QStringLiteral("用法：tqwall materials [--json | --where-used NAME [--province P]]"));
    if (!OpenLibrary(parser.value(QStringLiteral("db"))))
        return NoLibrary;
    if (whereUsed)
        return WhereUsed(parser.value(QStringLiteral("where-used")), parser.isSet(QStringLiteral("province")),
                         parser.value(QStringLiteral("province")));
    return Materials(parser.isSet(QStringLiteral("json")));
}

int CTQCommandLine::WhereUsed(const QString& name, bool byProvince, const QString& provinceName)
{
    // Every material of that name, or only the one of that province ("全国": the national one),
    // each followed by the constructions made of it.
    CTQTimbering material;
    CADORecordset materialRows;
    QMap<int, QString> provinces{{0, QStringLiteral("全国")}};
    if (!material.ReadRecords(QStringLiteral("SELECT * FROM %1 WHERE %2 = ? ORDER BY ID")
                                  .arg(material.GetTableName(), TQRecordOps::kNameKey),
                              &materialRows, nullptr, {TQRecordOps::KeyText(name)}) ||
        !ReadProvinceNames(&provinces))
        return Fail(NoLibrary, QStringLiteral("操作数据库时出错！"));
    int found = 0;
    for (; !materialRows.IsEOF(); materialRows.MoveNext()) {
        material.MakeObjectFromRS(materialRows);
        const QString materialProvince = provinces.value(material.GetProvinceID(), QStringLiteral("全国"));
        if (byProvince && materialProvince != provinceName)
            continue;
        ++found;
        const std::optional<QList<CTQMaterialUsage::Use>> uses = CTQMaterialUsage::Find(material.GetID());
        if (!uses)
            return Fail(NoLibrary, QStringLiteral("操作数据库时出错！"));
        m_Out << QStringLiteral("%1（%2）：%3 个围护结构").arg(name, materialProvince).arg(uses->size()) << '\n';
        for (const CTQMaterialUsage::Use& use : *uses)
            m_Out << "  [" << use.ConstructionId << "] " << use.Category << " / " << use.Type << " / "
                  << use.Construction << " / " << (use.Province.isEmpty() ? QStringLiteral("全国") : use.Province)
                  << QStringLiteral(" / 第 %1 层").arg(CTQMaterialUsage::LayerText(use.Layers)) << '\n';
    }
    m_Out.flush();
    if (found == 0)
        return Fail(UnknownRecord, byProvince ? QStringLiteral("%1 没有名为“%2”的材质").arg(provinceName, name)
                                              : QStringLiteral("没有名为“%1”的材质").arg(name));
    return Ok;
}

int CTQCommandLine::Materials(bool json)
{
    // Every stored type and material, ordered by ID, the reserved types the dialogs hide included,
    // so the listing shows the library as it is. Materials whose type is missing come last.
    CTQTimberingType type;
    CADORecordset typeRows;
    CTQTimbering material;
    CADORecordset materialRows;
    QMap<int, QString> provinces;
    const auto all = [](const tagDBSTRUCT& record) {
        return QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(record.GetTableName());
    };
    if (!type.ReadRecords(all(type), typeRows, nullptr) ||
        !material.ReadRecords(all(material), materialRows, nullptr) || !ReadProvinceNames(&provinces))
        return Fail(NoLibrary, QStringLiteral("操作数据库时出错！"));

    QMap<int, QJsonArray> byType;
    for (; !materialRows.IsEOF(); materialRows.MoveNext()) {
        material.MakeObjectFromRS(materialRows);
        const int provinceId = material.GetProvinceID();
        byType[material.TTId].append(QJsonObject{
            {QStringLiteral("id"), material.GetID()},
            {QStringLiteral("name"), material.GetStuffName()},
            {QStringLiteral("density"), JsonNumber(material.GetGMD())},
            {QStringLiteral("conductivity"), JsonNumber(material.GetDrXs())},
            {QStringLiteral("specificHeat"), JsonNumber(material.GetBRr())},
            {QStringLiteral("common"), material.GetCommonFlag() != 0},
            {QStringLiteral("provinceId"), provinceId},
            {QStringLiteral("province"),
             provinceId > 0 ? QJsonValue(provinces.value(provinceId)) : QJsonValue(QJsonValue::Null)}});
    }
    QJsonArray types;
    const auto addType = [&types](int id, const QString& name, const QJsonArray& materials) {
        types.append(QJsonObject{
            {QStringLiteral("id"), id}, {QStringLiteral("name"), name}, {QStringLiteral("materials"), materials}});
    };
    for (; !typeRows.IsEOF(); typeRows.MoveNext()) {
        type.MakeObjectFromRS(typeRows);
        addType(type.GetID(), type.Name, byType.take(type.GetID()));
    }
    for (auto orphans = byType.cbegin(); orphans != byType.cend(); ++orphans)
        addType(orphans.key(), QString(), orphans.value());

    if (json)
        m_Out << QString::fromUtf8(QJsonDocument(QJsonObject{{QStringLiteral("types"), types}}).toJson());
    else
        PrintMaterials(types);
    return Ok;
}

void CTQCommandLine::PrintMaterials(const QJsonArray& types)
{
    const auto number = [](const QJsonValue& value) {
        return value.isDouble() ? QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest)
                                : QStringLiteral("-");
    };
    for (const QJsonValue& typeValue : types) {
        const QJsonObject type = typeValue.toObject();
        const QString name = type[QStringLiteral("name")].toString();
        m_Out << "[" << type[QStringLiteral("id")].toInt() << "] " << (name.isEmpty() ? QStringLiteral("（无类型）") : name)
              << Qt::endl;
        for (const QJsonValue& materialValue : type[QStringLiteral("materials")].toArray()) {
            const QJsonObject material = materialValue.toObject();
            m_Out << "  [" << material[QStringLiteral("id")].toInt() << "] " << material[QStringLiteral("name")].toString()
                  << "  干密度(kg/m^3)=" << number(material[QStringLiteral("density")])
                  << "  导热系数(W/m*K)=" << number(material[QStringLiteral("conductivity")])
                  << "  比热容(kJ/kg*K)=" << number(material[QStringLiteral("specificHeat")]);
            if (material[QStringLiteral("common")].toBool())
                m_Out << "  常用";
            if (!material[QStringLiteral("province")].isNull())
                m_Out << "  " << material[QStringLiteral("province")].toString();
            m_Out << Qt::endl;
        }
    }
}

int CTQCommandLine::RunExport(const QCommandLineParser& parser, const QStringList& words)
{
    // Exactly one selection: the whole library, or the constructions of a type, a category, a
    // province, or the common ones.
    const QString usage =
        QStringLiteral("tqwall export (--all | --type T | --category C | --province P | --common) -o FILE");
    struct Choice
    {
        QString option;
        CTQLibraryExchange::ESelection selection;
    };
    const Choice choices[] = {{QStringLiteral("all"), CTQLibraryExchange::Sel_All},
                              {QStringLiteral("type"), CTQLibraryExchange::Sel_Type},
                              {QStringLiteral("category"), CTQLibraryExchange::Sel_Category},
                              {QStringLiteral("province"), CTQLibraryExchange::Sel_Province},
                              {QStringLiteral("common"), CTQLibraryExchange::Sel_Common}};
    int chosen = 0;
    Choice selection = choices[0];
    for (const Choice& choice : choices) {
        if (parser.isSet(choice.option)) {
            ++chosen;
            selection = choice;
        }
    }
    if (!words.isEmpty() || chosen != 1 || parser.value(QStringLiteral("o")).isEmpty())
        return Fail(BadInput, QStringLiteral("用法：%1").arg(usage));
    if (!OpenLibrary(parser.value(QStringLiteral("db"))))
        return NoLibrary;
    return Export(selection.selection, parser.value(selection.option), parser.value(QStringLiteral("o")));
}

int CTQCommandLine::RunReport(const QCommandLineParser& parser, const QStringList& words)
{
    if (words.isEmpty() || parser.value(QStringLiteral("o")).isEmpty())
        return Fail(BadInput, QStringLiteral("用法：tqwall report ID [ID ...] -o FILE.pdf"));
    if (!OpenLibrary(parser.value(QStringLiteral("db"))))
        return NoLibrary;
    QList<CTQBSConstructionSheet::Entry> entries;
    for (const QString& word : words) {
        CTQBSCode code;
        if (const int failed = ReadConstruction(word, &code); failed != Ok)
            return failed;
        entries.append(CTQBSConstructionSheet::Read(code, CTQCrXs()));
    }
    QString error;
    if (!CTQBSConstructionSheet::Write(entries, parser.value(QStringLiteral("o")), &error))
        return Fail(BadInput, error);
    m_Out << QStringLiteral("已导出 %1 个围护结构的计算书：%2").arg(entries.size()).arg(parser.value(QStringLiteral("o")))
          << Qt::endl;
    return Ok;
}

bool CTQCommandLine::NeedsGui(const QStringList& arguments)
{
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("tqwall")} + arguments))
        return false;
    return parser.positionalArguments().value(0) == QLatin1String("report");
}

int CTQCommandLine::RunExportMaterials(const QCommandLineParser& parser, const QStringList& words)
{
    if (!words.isEmpty() || parser.value(QStringLiteral("o")).isEmpty())
        return Fail(BadInput, QStringLiteral("用法：tqwall export-materials -o FILE"));
    if (!OpenLibrary(parser.value(QStringLiteral("db"))))
        return NoLibrary;
    return Export(CTQLibraryExchange::Sel_Materials, QString(), parser.value(QStringLiteral("o")));
}

int CTQCommandLine::Export(int selection, const QString& name, const QString& path)
{
    CTQLibraryExchange exchange;
    if (!exchange.Export(static_cast<CTQLibraryExchange::ESelection>(selection), name, 0, path))
        return Fail(BadInput, exchange.GetErrorText());
    m_Out << QStringLiteral("已导出到 %1").arg(path) << Qt::endl;
    return Ok;
}

bool CTQCommandLine::OpenNewLibrary(const QString& databasePath)
{
    // A library file that does not exist yet is made for the import: its tables and the names
    // every library shares (categories, provinces, material types), and nothing else, so that it
    // holds exactly what the file brings.
    QString error;
    auto database = CTQLibraryDatabase::Open(CTQLibraryDatabase::ConfigFromSettings(databasePath), &error);
    if (database) {
        CTQLibrarySeed seed(database.get(), CTQLibrarySeed::DefaultFolder());
        if (seed.FillReferenceData()) {
            CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(database));
            return true;
        }
        error = seed.GetErrorText();
    }
    m_Err << QStringLiteral("无法创建围护结构库：%1").arg(error) << Qt::endl;
    return false;
}

int CTQCommandLine::RunImport(const QCommandLineParser& parser, const QStringList& words)
{
    CTQLibraryExchange::EDuplicate policy = CTQLibraryExchange::Dup_Skip;
    const QString policyText = parser.value(QStringLiteral("on-duplicate"));
    if (words.size() != 1 ||
        (parser.isSet(QStringLiteral("on-duplicate")) && !CTQLibraryExchange::ParseDuplicatePolicy(policyText, &policy)))
        return Fail(BadInput, QStringLiteral("用法：tqwall import FILE [--on-duplicate skip|rename|replace]"));
    const QString databasePath = parser.value(QStringLiteral("db"));
    const bool opened = !databasePath.isEmpty() && !QFileInfo::exists(databasePath) ? OpenNewLibrary(databasePath)
                                                                                     : OpenLibrary(databasePath);
    if (!opened)
        return NoLibrary;
    CTQLibraryExchange exchange;
    if (!exchange.ReadFile(words.front()) || !exchange.Import(policy))
        return Fail(BadInput, QStringLiteral("未导入任何内容。%1").arg(exchange.GetErrorText()));
    const CTQLibraryExchange::TQPlan& plan = exchange.GetPlan();
    const QString conflictHeading = policy == CTQLibraryExchange::Dup_Skip     ? QStringLiteral("冲突，保留库中的")
                                    : policy == CTQLibraryExchange::Dup_Rename ? QStringLiteral("冲突，改名导入")
                                                                               : QStringLiteral("冲突，已替换");
    const auto print = [this](const QString& heading, const QStringList& lines) {
        for (const QString& line : lines)
            m_Out << heading << "：" << line << '\n';
    };
    print(QStringLiteral("新增"), plan.added);
    print(QStringLiteral("相同，未改动"), plan.equal);
    print(conflictHeading, plan.conflicts);
    print(QStringLiteral("数值相同，未重复添加"), plan.sameValues);
    for (const QString& warning : exchange.GetWarnings())
        m_Err << QStringLiteral("警告：%1").arg(warning) << Qt::endl;
    m_Out << QStringLiteral("导入完成：新增 %1 项，相同 %2 项，冲突 %3 项")
                 .arg(plan.added.size())
                 .arg(plan.equal.size())
                 .arg(plan.conflicts.size())
          << Qt::endl;
    return Ok;
}
