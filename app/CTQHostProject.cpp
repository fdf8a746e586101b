#include "app/CTQHostProject.h"

#include "library/CTQBSDataAdmin.h"
#include "records/CTQBSCode.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>

namespace {

const QString kFormat = QStringLiteral("tqwall-project");

QJsonObject LayerToJson(const CTQTimberingData& layer)
{
    return {{QStringLiteral("materialId"), layer.GetStuffID()},   {QStringLiteral("material"), layer.GetStuffName()},
            {QStringLiteral("thicknessMm"), layer.GetThick() * 1000.0}, {QStringLiteral("correctionFactor"), layer.GetDrXsXz()},
            {QStringLiteral("conductivity"), layer.GetDrXs()},    {QStringLiteral("density"), layer.GetGMD()},
            {QStringLiteral("specificHeat"), layer.GetBRr()}};
}

CTQTimberingData LayerFromJson(const QJsonObject& object)
{
    CTQTimberingData layer;
    layer.SetStuffID(object[QStringLiteral("materialId")].toInt());
    layer.SetStuffName(object[QStringLiteral("material")].toString());
    layer.SetThick(object[QStringLiteral("thicknessMm")].toDouble(std::nan("")) / 1000.0);
    layer.SetDrXsXz(object[QStringLiteral("correctionFactor")].toDouble(std::nan("")));
    layer.SetDrXs(object[QStringLiteral("conductivity")].toDouble(std::nan("")));
    layer.SetGMD(object[QStringLiteral("density")].toDouble(std::nan("")));
    layer.SetBRr(object[QStringLiteral("specificHeat")].toDouble(std::nan("")));
    return layer;
}

QJsonObject WallToJson(const CTQHostWall& hostWall)
{
    QJsonArray layers;
    for (const CTQTimberingData& layer : hostWall.wall.GetTimbering())
        layers.append(LayerToJson(layer));
    return {{QStringLiteral("name"), hostWall.name},
            {QStringLiteral("outerSummer"), hostWall.wall.GetWHrXsData()},
            {QStringLiteral("outerWinter"), hostWall.wall.GetDjWHrXsData()},
            {QStringLiteral("inner"), hostWall.wall.GetNHrXsData()},
            {QStringLiteral("constructionId"), hostWall.wall.m_nBSCId},
            {QStringLiteral("constructionName"), hostWall.wall.m_strBSCName},
            {QStringLiteral("layers"), layers}};
}

bool WallFromJson(const QJsonObject& object, CTQHostWall* hostWall)
{
    const QJsonValue outerSummer = object[QStringLiteral("outerSummer")];
    const QJsonValue outerWinter = object[QStringLiteral("outerWinter")];
    const QJsonValue inner = object[QStringLiteral("inner")];
    if (!object[QStringLiteral("name")].isString() || !outerSummer.isDouble() || !outerWinter.isDouble() ||
        !inner.isDouble() || !object[QStringLiteral("layers")].isArray())
        return false;
    hostWall->name = object[QStringLiteral("name")].toString();
    CTQWallData& wall = hostWall->wall;
    wall.m_nBSCId = object[QStringLiteral("constructionId")].toInt(-1);
    wall.m_strBSCName = object[QStringLiteral("constructionName")].toString();
    CTQArray<CTQTimberingData> layers;
    for (const QJsonValue& layer : object[QStringLiteral("layers")].toArray())
        layers.Add(LayerFromJson(layer.toObject()));
    wall.SetTimbering(layers, 0);
    wall.SetWHrXsData(outerSummer.toDouble(), 0);
    wall.SetDjWHrXsData(outerWinter.toDouble(), 0);
    wall.SetNHrXsData(inner.toDouble(), 0);
    wall.Cal(1);
    wall.Cal(0);
    return true;
}

CTQHostWall ExampleWall(CTQBSDataAdmin& admin, const QString& name, const QString& construction)
{
    CTQHostWall hostWall;
    hostWall.name = name;
    CTQBSCode code;
    const int id = construction.isEmpty() ? 0 : CTQBSCode::HasBSCode(construction, nullptr);
    if (id > 0 && code.ReadData(id, nullptr))
        hostWall.wall = admin.GetBSCodeWallData(code, true, CTQCrXs());
    else
        hostWall.wall.Cal(0);
    return hostWall;
}

} // namespace

CTQHostProject CTQHostProject::MakeExample()
{
    CTQBSDataAdmin admin;
    CTQHostProject project;
    project.walls = {
        ExampleWall(admin, QStringLiteral("南外墙"), QStringLiteral("370红砖墙+80聚苯板外保温(习题)")),
        ExampleWall(admin, QStringLiteral("北外墙"), QStringLiteral("200钢筋混凝土+80EPS外保温")),
        ExampleWall(admin, QStringLiteral("屋面"), QStringLiteral("120钢筋混凝土板+80XPS")),
        ExampleWall(admin, QStringLiteral("南外窗"), QStringLiteral("6+12A+6中空玻璃")),
        ExampleWall(admin, QStringLiteral("内隔墙"), QString()),
    };
    return project;
}

bool CTQHostProject::Load(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法打开项目文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    const QJsonObject root = document.object();
    if (parseError.error != QJsonParseError::NoError || root[QStringLiteral("format")].toString() != kFormat ||
        !root[QStringLiteral("walls")].isArray()) {
        *error = QStringLiteral("%1 不是 TQWall 项目文件").arg(path);
        return false;
    }
    QList<CTQHostWall> loaded;
    for (const QJsonValue& value : root[QStringLiteral("walls")].toArray()) {
        CTQHostWall hostWall;
        if (!value.isObject() || !WallFromJson(value.toObject(), &hostWall)) {
            *error = QStringLiteral("项目文件 %1 的第 %2 面墙不完整").arg(path).arg(loaded.size() + 1);
            return false;
        }
        loaded.append(hostWall);
    }
    walls = loaded;
    return true;
}

bool CTQHostProject::Save(const QString& path, QString* error) const
{
    QJsonArray wallArray;
    for (const CTQHostWall& hostWall : walls)
        wallArray.append(WallToJson(hostWall));
    const QJsonObject root{{QStringLiteral("format"), kFormat}, {QStringLiteral("version"), 1},
                           {QStringLiteral("walls"), wallArray}};
    // Written beside the old file and renamed over it, so a failed save never loses the project.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        *error = QStringLiteral("无法保存项目文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}
