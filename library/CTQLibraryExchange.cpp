#include "library/CTQLibraryExchange.h"

#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "library/CTQBSDataAdmin.h"
#include "library/CTQTimberingVapour.h"
#include "records/CTQBSCategory.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQBoundingStructure.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingMap.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kFormatName = QStringLiteral("tqwall-library");
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QJsonValue Number(double value)
{
    return std::isfinite(value) ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue NameOrNull(const QString& name)
{
    return name.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(name);
}

/// NaN equals NaN here: a value missing on both sides is the same value.
bool SameNumber(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

/// A number of a layer list, exact when read back (the shortest text that gives the same double).
QString ListNumber(double value)
{
    return std::isfinite(value) ? QString::number(value, 'g', QLocale::FloatingPointShortest) : QString();
}

QString Key(const QString& name, int provinceId)
{
    return QString::number(provinceId) + QLatin1Char('\n') + name;
}

QString Renamed(const QString& name, int number)
{
    return QStringLiteral("%1 (%2)").arg(name).arg(number);
}

/// Every row of a record's table in ID order, each handed to `use` loaded into `record`.
template <class Record, class Use>
bool ReadAll(Record& record, CADODatabase* database, Use use)
{
    CADORecordset rows;
    if (!record.ReadRecords(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(record.GetTableName()), rows, database))
        return false;
    for (; !rows.IsEOF(); rows.MoveNext()) {
        record.MakeObjectFromRS(rows);
        use(record);
    }
    return true;
}

} // namespace

struct CTQLibraryExchange::TQData
{
    enum EAction
    {
        Add,       ///< new: written as it is, or under writeName
        Equal,     ///< stored with equal content (storedId)
        SameValue, ///< a material taken as the stored one of equal values (storedId)
        Conflict,  ///< stored under the same key with other content (storedId)
    };

    struct Material
    {
        QString type, name, province, place;
        double density = kNaN, conductivity = kNaN, specificHeat = kNaN;
        /// μ, g/(m·h·Pa); NaN for none. A file without the member (hasVapour false) carries no
        /// vapour data: the library's stays as it is and takes no part in comparisons.
        double vapour = kNaN;
        bool hasVapour = false;
        int common = 0;
        int provinceId = 0;
        EAction action = Add;
        int storedId = 0;
        int id = 0; ///< the library's material once planned or written; 0 while it is to be added
        QString writeName;
    };
    struct Layer
    {
        QString material, materialProvince;
        double thickness = kNaN, factor = kNaN;
    };
    struct Construction
    {
        QString category, type, name, province, place;
        int common = 0;
        int provinceId = 0;
        QList<Layer> layers;
        QByteArray picture;
        EAction action = Add;
        int storedId = 0;
        int id = 0;
        QString writeName;
    };
    struct Type
    {
        QString category, name;
        int categoryId = 0;
        int id = 0; ///< stored type; 0 while it is to be added
    };

    QList<Material> materials;
    QList<Type> types;
    QList<Construction> constructions;
    QHash<QString, qsizetype> materialByKey; ///< file materials by Key(name, province ID)

    // The library's names, read by LoadLibraryNames.
    QHash<QString, int> categories, provinces, materialTypes, typeIds;
    QHash<int, QString> categoryNames, provinceNames, materialTypeNames;
    QHash<QString, int> typeCategory;
    QList<CTQTimbering> storedMaterials;
    QHash<QString, qsizetype> storedMaterialByKey;
    QHash<int, double> storedVapour; ///< μ by material ID; a material without one is absent
    EDuplicate policy = Dup_Skip;

    int ProvinceId(const QString& name, bool* ok) const
    {
        *ok = name.isEmpty() || provinces.contains(name);
        return name.isEmpty() ? 0 : provinces.value(name);
    }
    bool SameValues(const Material& material, const CTQTimbering& stored) const
    {
        return material.type == materialTypeNames.value(stored.TTId) && SameNumber(material.density, stored.GetGMD()) &&
               SameNumber(material.conductivity, stored.GetDrXs()) && SameNumber(material.specificHeat, stored.GetBRr()) &&
               (!material.hasVapour || SameNumber(material.vapour, storedVapour.value(stored.GetID(), kNaN)));
    }
};

CTQLibraryExchange::CTQLibraryExchange(CADODatabase* database)
    : m_pDatabase(database ? database : CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase()),
      m_pData(std::make_unique<TQData>())
{
}

CTQLibraryExchange::~CTQLibraryExchange() = default;

bool CTQLibraryExchange::ParseDuplicatePolicy(const QString& text, EDuplicate* policy)
{
    static const QHash<QString, EDuplicate> policies{
        {QStringLiteral("skip"), Dup_Skip}, {QStringLiteral("rename"), Dup_Rename}, {QStringLiteral("replace"), Dup_Replace}};
    if (!policies.contains(text))
        return false;
    *policy = policies.value(text);
    return true;
}

bool CTQLibraryExchange::Fail(const QString& place, const QString& what)
{
    m_strError = place.isEmpty() ? QStringLiteral("%1：%2").arg(m_strSource, what)
                                 : QStringLiteral("%1：%2：%3").arg(m_strSource, place, what);
    return false;
}

// ---------------------------------------------------------------------------------------------
// Export

bool CTQLibraryExchange::Export(ESelection selection, const QString& name, int id, const QString& path)
{
    QByteArray json;
    if (!ExportDocument(selection, name, id, &json))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
        m_strError = QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool CTQLibraryExchange::ExportDocument(ESelection selection, const QString& name, int id, QByteArray* json)
{
    m_strError.clear();
    m_strSource = QStringLiteral("导出");
    QJsonObject document;
    if (!CollectExport(selection, name, id, &document))
        return false;
    *json = QJsonDocument(document).toJson(QJsonDocument::Indented);
    return true;
}

bool CTQLibraryExchange::CollectExport(ESelection selection, const QString& name, int id, QJsonObject* document)
{
    if (!m_pDatabase || !LoadLibraryNames())
        return Fail({}, QStringLiteral("无法读取围护结构库"));
    TQData& data = *m_pData;
    const int categoryId = data.categories.value(name, -1);
    const int provinceId = data.provinces.value(name, -1);
    if (selection == Sel_Type && !data.typeIds.contains(name))
        return Fail({}, QStringLiteral("没有名为“%1”的类型").arg(name));
    if (selection == Sel_Category && categoryId < 0)
        return Fail({}, QStringLiteral("没有名为“%1”的分类").arg(name));
    if (selection == Sel_Province && provinceId < 0)
        return Fail({}, QStringLiteral("没有名为“%1”的省份").arg(name));

    // Types: those of the selection, also when they hold no construction yet.
    QHash<int, QString> typeNames;
    QJsonArray types;
    CTQBSType type;
    bool read = ReadAll(type, m_pDatabase, [&](const CTQBSType& row) { typeNames.insert(row.GetID(), row.Name); });
    QSet<int> chosenTypes;
    const auto addType = [&](int typeId) {
        if (chosenTypes.contains(typeId) || !typeNames.contains(typeId))
            return;
        chosenTypes.insert(typeId);
        const QString typeName = typeNames.value(typeId);
        types.append(QJsonObject{{QStringLiteral("category"), data.categoryNames.value(data.typeCategory.value(typeName))},
                                 {QStringLiteral("name"), typeName}});
    };
    if (selection == Sel_All || selection == Sel_Type || selection == Sel_Category) {
        for (auto it = typeNames.cbegin(); it != typeNames.cend(); ++it) {
            const int category = data.typeCategory.value(it.value());
            if (selection == Sel_All || (selection == Sel_Type && it.value() == name) ||
                (selection == Sel_Category && category == categoryId))
                chosenTypes.insert(it.key());
        }
        QList<int> ids = chosenTypes.values();
        std::sort(ids.begin(), ids.end());
        chosenTypes.clear();
        for (int typeId : ids)
            addType(typeId);
    }

    const auto chosen = [&](const CTQBSCode& code) {
        switch (selection) {
        case Sel_All:
            return true;
        case Sel_Type:
        case Sel_Category:
            return chosenTypes.contains(code.BSTId);
        case Sel_Province:
            return code.ProvinceId == provinceId;
        case Sel_Common:
            return code.CommonFlag != 0;
        case Sel_Construction:
            return code.GetID() == id;
        case Sel_Materials:
            break;
        }
        return false;
    };
    QList<CTQBSCode> codes;
    CTQBSCode code;
    read = read && ReadAll(code, m_pDatabase, [&](const CTQBSCode& row) {
        if (chosen(row))
            codes.append(row);
    });
    QHash<int, CTQBoundingStructure> layerSets;
    CTQBoundingStructure layers;
    CADORecordset layerRows;
    read = read && layers.ReadRecords(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(layers.GetTableName()),
                                      layerRows, m_pDatabase);
    for (; read && !layerRows.IsEOF(); layerRows.MoveNext()) {
        layers.GetListsFromRecordSet(layerRows);
        layers.MakeArray(CTQTimberingMap());
        if (!layerSets.contains(layers.BSCId))
            layerSets.insert(layers.BSCId, layers);
    }
    if (!read)
        return Fail({}, QStringLiteral("无法读取围护结构库：%1").arg(m_pDatabase->GetLastError()));
    if (codes.isEmpty() && selection != Sel_All && selection != Sel_Materials && types.isEmpty())
        return Fail({}, QStringLiteral("没有要导出的围护结构"));

    QHash<int, qsizetype> materialIndex;
    for (qsizetype i = 0; i < data.storedMaterials.size(); ++i)
        materialIndex.insert(data.storedMaterials[i].GetID(), i);
    QSet<int> usedMaterials;
    QJsonArray constructions;
    CTQBSDataAdmin admin;
    for (CTQBSCode& stored : codes) {
        addType(stored.BSTId);
        const CTQBoundingStructure set = layerSets.value(stored.GetID());
        const QList<int> ids = set.GetStuffIDs();
        const QString place = QStringLiteral("围护结构“%1”").arg(stored.Name);
        QJsonArray layerArray;
        for (qsizetype layer = 0; layer < ids.size(); ++layer) {
            if (!materialIndex.contains(ids[layer]))
                return Fail(place, QStringLiteral("第 %1 层的材质（ID %2）不在库中").arg(layer + 1).arg(ids[layer]));
            const CTQTimbering& material = data.storedMaterials[materialIndex.value(ids[layer])];
            usedMaterials.insert(material.GetID());
            layerArray.append(QJsonObject{
                {QStringLiteral("material"), material.GetStuffName()},
                {QStringLiteral("materialProvince"), NameOrNull(data.provinceNames.value(material.GetProvinceID()))},
                {QStringLiteral("thicknessMm"), Number(layer < set.m_HouDuAry.GetSize() ? set.m_HouDuAry[layer] : kNaN)},
                {QStringLiteral("correctionFactor"),
                 Number(layer < set.m_XzXsAry.GetSize() ? set.m_XzXsAry[layer] : kNaN)}});
        }
        CTQBSType ofCode;
        ofCode.Name = typeNames.value(stored.BSTId);
        QJsonObject construction{{QStringLiteral("category"),
                                  data.categoryNames.value(data.typeCategory.value(ofCode.Name))},
                                 {QStringLiteral("type"), ofCode.Name},
                                 {QStringLiteral("name"), stored.Name},
                                 {QStringLiteral("province"), NameOrNull(data.provinceNames.value(stored.ProvinceId))},
                                 {QStringLiteral("common"), stored.CommonFlag != 0},
                                 {QStringLiteral("layers"), layerArray}};
        QFile picture(admin.GetBSDemoBMPPath(ofCode, stored));
        if (picture.exists() && picture.open(QIODevice::ReadOnly))
            construction.insert(QStringLiteral("picture"), QString::fromLatin1(picture.readAll().toBase64()));
        constructions.append(construction);
    }

    QJsonArray materials;
    for (const CTQTimbering& material : data.storedMaterials) {
        if (selection != Sel_All && selection != Sel_Materials && !usedMaterials.contains(material.GetID()))
            continue;
        materials.append(QJsonObject{{QStringLiteral("type"), NameOrNull(data.materialTypeNames.value(material.TTId))},
                                     {QStringLiteral("name"), material.GetStuffName()},
                                     {QStringLiteral("province"), NameOrNull(data.provinceNames.value(material.GetProvinceID()))},
                                     {QStringLiteral("density"), Number(material.GetGMD())},
                                     {QStringLiteral("conductivity"), Number(material.GetDrXs())},
                                     {QStringLiteral("specificHeat"), Number(material.GetBRr())},
                                     {QStringLiteral("vapourPermeability"),
                                      Number(data.storedVapour.value(material.GetID(), kNaN))},
                                     {QStringLiteral("common"), material.GetCommonFlag() != 0}});
    }
    *document = QJsonObject{{QStringLiteral("format"), kFormatName},
                            {QStringLiteral("version"), kFormatVersion},
                            {QStringLiteral("materials"), materials}};
    if (selection != Sel_Materials) {
        document->insert(QStringLiteral("types"), types);
        document->insert(QStringLiteral("constructions"), constructions);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Reading a file: its form only; names are checked against the library by MakePlan.

namespace {

/// A text member: absent or null gives an empty text; anything else that is no text fails.
bool Text(const QJsonObject& object, const QString& member, QString* text)
{
    const QJsonValue value = object.value(member);
    if (value.isUndefined() || value.isNull()) {
        text->clear();
        return true;
    }
    *text = value.toString();
    return value.isString();
}

/// A number member: null gives NaN; absent or not a number fails.
bool Real(const QJsonObject& object, const QString& member, double* number)
{
    const QJsonValue value = object.value(member);
    *number = value.isNull() ? kNaN : value.toDouble();
    return value.isNull() || value.isDouble();
}

bool Flag(const QJsonObject& object, const QString& member, int* flag)
{
    const QJsonValue value = object.value(member);
    *flag = value.toBool() ? 1 : 0;
    return value.isUndefined() || value.isBool();
}

} // namespace

bool CTQLibraryExchange::ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_strSource = path;
        return Fail({}, QStringLiteral("无法读取文件：%1").arg(file.errorString()));
    }
    return ReadDocument(file.readAll(), path);
}

bool CTQLibraryExchange::ReadDocument(const QByteArray& json, const QString& source)
{
    m_pData = std::make_unique<TQData>();
    m_Plan = TQPlan();
    m_strError.clear();
    m_strSource = source;
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Fail({}, QStringLiteral("不是有效的 JSON（第 %1 个字节处：%2）").arg(parseError.offset).arg(parseError.errorString()));
    const QJsonObject root = document.object();
    if (!document.isObject() || root.value(QStringLiteral("format")).toString() != kFormatName)
        return Fail({}, QStringLiteral("不是 TQWall 围护结构库交换文件"));
    if (root.value(QStringLiteral("version")).toInt() != kFormatVersion)
        return Fail({}, QStringLiteral("不支持的文件版本 %1（支持 %2）")
                            .arg(root.value(QStringLiteral("version")).toVariant().toString())
                            .arg(kFormatVersion));
    return ReadMaterials(root) && ReadTypes(root) && ReadConstructions(root);
}

bool CTQLibraryExchange::ReadMaterials(const QJsonObject& document)
{
    const QJsonArray materials = document.value(QStringLiteral("materials")).toArray();
    for (qsizetype i = 0; i < materials.size(); ++i) {
        const QJsonObject object = materials[i].toObject();
        TQData::Material material;
        const bool ok = Text(object, QStringLiteral("type"), &material.type) &&
                        Text(object, QStringLiteral("name"), &material.name) &&
                        Text(object, QStringLiteral("province"), &material.province) &&
                        Real(object, QStringLiteral("density"), &material.density) &&
                        Real(object, QStringLiteral("conductivity"), &material.conductivity) &&
                        Real(object, QStringLiteral("specificHeat"), &material.specificHeat) &&
                        Flag(object, QStringLiteral("common"), &material.common);
        material.hasVapour = object.contains(QStringLiteral("vapourPermeability"));
        const bool vapourOk = !material.hasVapour || Real(object, QStringLiteral("vapourPermeability"), &material.vapour);
        material.place = QStringLiteral("材质“%1”").arg(material.name);
        if (!materials[i].isObject() || !ok || material.name.isEmpty())
            return Fail(QStringLiteral("第 %1 个材质").arg(i + 1),
                        QStringLiteral("应有名称与数值（density、conductivity、specificHeat）"));
        for (double value : {material.density, material.conductivity, material.specificHeat}) {
            if (value < 0.0)
                return Fail(material.place, QStringLiteral("数值不能为负"));
        }
        if (!vapourOk || material.vapour <= 0.0 || std::isinf(material.vapour))
            return Fail(material.place, QStringLiteral("蒸汽渗透系数应为正数，或为 null 表示无数据"));
        m_pData->materials.append(material);
    }
    return true;
}

bool CTQLibraryExchange::ReadTypes(const QJsonObject& document)
{
    const QJsonArray types = document.value(QStringLiteral("types")).toArray();
    for (qsizetype i = 0; i < types.size(); ++i) {
        TQData::Type type;
        const QJsonObject object = types[i].toObject();
        if (!Text(object, QStringLiteral("category"), &type.category) || !Text(object, QStringLiteral("name"), &type.name) ||
            type.category.isEmpty() || type.name.isEmpty())
            return Fail(QStringLiteral("第 %1 个类型").arg(i + 1), QStringLiteral("应有分类与名称"));
        m_pData->types.append(type);
    }
    return true;
}

bool CTQLibraryExchange::ReadConstructions(const QJsonObject& document)
{
    const QJsonArray constructions = document.value(QStringLiteral("constructions")).toArray();
    for (qsizetype i = 0; i < constructions.size(); ++i) {
        const QJsonObject object = constructions[i].toObject();
        TQData::Construction construction;
        QString picture;
        const bool ok = Text(object, QStringLiteral("category"), &construction.category) &&
                        Text(object, QStringLiteral("type"), &construction.type) &&
                        Text(object, QStringLiteral("name"), &construction.name) &&
                        Text(object, QStringLiteral("province"), &construction.province) &&
                        Flag(object, QStringLiteral("common"), &construction.common) &&
                        Text(object, QStringLiteral("picture"), &picture) &&
                        object.value(QStringLiteral("layers")).isArray();
        construction.place = QStringLiteral("围护结构“%1”").arg(construction.name);
        if (!ok || construction.name.isEmpty() || construction.type.isEmpty() || construction.category.isEmpty())
            return Fail(QStringLiteral("第 %1 个围护结构").arg(i + 1), QStringLiteral("应有分类、类型、名称与各层"));
        const auto decoded = QByteArray::fromBase64Encoding(picture.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return Fail(construction.place, QStringLiteral("示意图不是有效的 base64"));
        construction.picture = *decoded;
        const QJsonArray layers = object.value(QStringLiteral("layers")).toArray();
        for (qsizetype l = 0; l < layers.size(); ++l) {
            const QJsonObject layerObject = layers[l].toObject();
            TQData::Layer layer;
            const QString place = QStringLiteral("%1第 %2 层").arg(construction.place).arg(l + 1);
            if (!Text(layerObject, QStringLiteral("material"), &layer.material) ||
                !Text(layerObject, QStringLiteral("materialProvince"), &layer.materialProvince) ||
                !Real(layerObject, QStringLiteral("thicknessMm"), &layer.thickness) ||
                !Real(layerObject, QStringLiteral("correctionFactor"), &layer.factor) || layer.material.isEmpty())
                return Fail(place, QStringLiteral("应有材质、厚度（thicknessMm）与修正系数（correctionFactor）"));
            if (layer.thickness < 0.0)
                return Fail(place, QStringLiteral("厚度不能为负：%1").arg(layer.thickness));
            if (layer.factor < 0.0)
                return Fail(place, QStringLiteral("修正系数不能为负：%1").arg(layer.factor));
            construction.layers.append(layer);
        }
        m_pData->constructions.append(construction);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Checking against the library

bool CTQLibraryExchange::LoadLibraryNames()
{
    TQData& data = *m_pData;
    for (QHash<QString, int>* names : {&data.categories, &data.provinces, &data.materialTypes, &data.typeIds,
                                       &data.typeCategory})
        names->clear();
    for (QHash<int, QString>* names : {&data.categoryNames, &data.provinceNames, &data.materialTypeNames})
        names->clear();
    data.storedMaterials.clear();
    data.storedMaterialByKey.clear();
    data.storedVapour.clear();
    CTQBSCategory category;
    CTQWallProvince province;
    CTQTimberingType materialType;
    CTQBSType type;
    CTQTimbering material;
    return ReadAll(category, m_pDatabase,
                   [&](const CTQBSCategory& row) {
                       data.categories.insert(row.Name, row.GetID());
                       data.categoryNames.insert(row.GetID(), row.Name);
                   }) &&
           ReadAll(province, m_pDatabase,
                   [&](const CTQWallProvince& row) {
                       data.provinces.insert(row.Name, row.GetID());
                       data.provinceNames.insert(row.GetID(), row.Name);
                   }) &&
           ReadAll(materialType, m_pDatabase,
                   [&](const CTQTimberingType& row) {
                       data.materialTypes.insert(row.Name, row.GetID());
                       data.materialTypeNames.insert(row.GetID(), row.Name);
                   }) &&
           ReadAll(type, m_pDatabase,
                   [&](const CTQBSType& row) {
                       data.typeIds.insert(row.Name, row.GetID());
                       data.typeCategory.insert(row.Name, row.BSDLId);
                   }) &&
           ReadAll(material, m_pDatabase,
                   [&](const CTQTimbering& row) {
                       data.storedMaterialByKey.insert(Key(row.GetStuffName(), row.GetProvinceID()),
                                                       data.storedMaterials.size());
                       data.storedMaterials.append(row);
                   }) &&
           CTQTimberingVapour::ReadAll(data.storedVapour, m_pDatabase);
}

bool CTQLibraryExchange::MakePlan(EDuplicate policy)
{
    m_Plan = TQPlan();
    m_strError.clear();
    m_pData->policy = policy;
    if (!m_pDatabase || !LoadLibraryNames())
        return Fail({}, QStringLiteral("无法读取围护结构库"));
    return PlanMaterials(policy) && PlanTypes() && PlanConstructions(policy);
}

bool CTQLibraryExchange::PlanMaterials(EDuplicate policy)
{
    TQData& data = *m_pData;
    data.materialByKey.clear();
    QSet<QString> takenKeys; // keys of materials this import adds
    for (qsizetype i = 0; i < data.materials.size(); ++i) {
        TQData::Material& material = data.materials[i];
        bool provinceKnown = false;
        material.provinceId = data.ProvinceId(material.province, &provinceKnown);
        if (!provinceKnown)
            return Fail(material.place, QStringLiteral("未知的省份“%1”").arg(material.province));
        const QString key = Key(material.name, material.provinceId);
        if (data.materialByKey.contains(key))
            return Fail(material.place, QStringLiteral("在文件中出现了两次"));
        data.materialByKey.insert(key, i);
        material.action = TQData::Add;
        material.id = material.storedId = 0;
        material.writeName = material.name;
        const auto stored = data.storedMaterialByKey.constFind(key);
        if (stored != data.storedMaterialByKey.cend()) {
            const CTQTimbering& same = data.storedMaterials[*stored];
            material.storedId = same.GetID();
            if (data.SameValues(material, same) && material.common == (same.GetCommonFlag() != 0 ? 1 : 0)) {
                material.action = TQData::Equal;
                material.id = material.storedId;
                m_Plan.equal.append(material.place);
                continue;
            }
            material.action = TQData::Conflict;
            m_Plan.conflicts.append(material.place + QStringLiteral("：库中的数值不同"));
            if (policy != Dup_Rename) {
                material.id = material.storedId; // kept, or written over
                continue;
            }
        }
        // A stored material of equal values serves, whatever its name: no duplicate is made.
        for (const CTQTimbering& candidate : data.storedMaterials) {
            if (candidate.GetProvinceID() == material.provinceId && data.SameValues(material, candidate)) {
                material.id = candidate.GetID();
                if (material.action == TQData::Add) {
                    material.action = TQData::SameValue;
                    m_Plan.sameValues.append(
                        QStringLiteral("%1 与库中的“%2”数值相同").arg(material.place, candidate.GetStuffName()));
                }
                break;
            }
        }
        if (material.id != 0)
            continue;
        for (int number = 2; data.storedMaterialByKey.contains(Key(material.writeName, material.provinceId)) ||
                             takenKeys.contains(Key(material.writeName, material.provinceId));
             ++number)
            material.writeName = Renamed(material.name, number);
        takenKeys.insert(Key(material.writeName, material.provinceId));
        m_Plan.added.append(material.writeName == material.name
                                ? material.place
                                : QStringLiteral("材质“%1”（改名为“%2”）").arg(material.name, material.writeName));
    }
    return true;
}

bool CTQLibraryExchange::PlanTypes()
{
    TQData& data = *m_pData;
    // The file's types, then those its constructions name, each once.
    QList<TQData::Type> types = data.types;
    for (const TQData::Construction& construction : data.constructions)
        types.append({construction.category, construction.type});
    QHash<QString, QString> categoryOfType;
    QList<TQData::Type> planned;
    for (const TQData::Type& type : types) {
        const QString place = QStringLiteral("类型“%1”").arg(type.name);
        if (!data.categories.contains(type.category))
            return Fail(place, QStringLiteral("未知的分类“%1”").arg(type.category));
        if (categoryOfType.contains(type.name)) {
            if (categoryOfType.value(type.name) != type.category)
                return Fail(place, QStringLiteral("在文件中属于两个分类"));
            continue;
        }
        categoryOfType.insert(type.name, type.category);
        TQData::Type entry = type;
        entry.categoryId = data.categories.value(type.category);
        entry.id = data.typeIds.value(type.name);
        if (entry.id != 0 && data.typeCategory.value(type.name) != entry.categoryId)
            return Fail(place, QStringLiteral("在库中属于分类“%1”，文件中属于“%2”")
                                   .arg(data.categoryNames.value(data.typeCategory.value(type.name)), type.category));
        if (entry.id == 0)
            m_Plan.added.append(place);
        planned.append(entry);
    }
    data.types = planned;
    return true;
}

bool CTQLibraryExchange::ResolveLayers(qsizetype index, QList<int>* materialIds)
{
    // A layer names a material of the file or of the library; 0 stands for one not yet written.
    const TQData& data = *m_pData;
    const TQData::Construction& construction = data.constructions[index];
    materialIds->clear();
    for (qsizetype l = 0; l < construction.layers.size(); ++l) {
        const TQData::Layer& layer = construction.layers[l];
        const QString place = QStringLiteral("%1第 %2 层").arg(construction.place).arg(l + 1);
        bool provinceKnown = false;
        const int provinceId = data.ProvinceId(layer.materialProvince, &provinceKnown);
        if (!provinceKnown)
            return Fail(place, QStringLiteral("未知的省份“%1”").arg(layer.materialProvince));
        const QString key = Key(layer.material, provinceId);
        if (data.materialByKey.contains(key))
            materialIds->append(data.materials[data.materialByKey.value(key)].id);
        else if (data.storedMaterialByKey.contains(key))
            materialIds->append(data.storedMaterials[data.storedMaterialByKey.value(key)].GetID());
        else
            return Fail(place, QStringLiteral("材质“%1”既不在文件中也不在库中").arg(layer.material));
    }
    return true;
}

bool CTQLibraryExchange::SameLayers(int codeId, qsizetype index, const QList<int>& materialIds)
{
    if (materialIds.contains(0))
        return false;
    CTQBoundingStructure stored;
    CADORecordset rows;
    if (!stored.ReadRecords(QStringLiteral("SELECT * FROM %1 WHERE BSCId = ? ORDER BY ID").arg(stored.GetTableName()),
                            rows, m_pDatabase, {codeId}))
        return false;
    if (rows.GetRecordCount() > 0) {
        stored.GetListsFromRecordSet(rows);
        stored.MakeArray(CTQTimberingMap());
    }
    const QList<TQData::Layer>& layers = m_pData->constructions[index].layers;
    if (stored.GetStuffIDs() != materialIds || stored.m_HouDuAry.GetSize() != layers.size() ||
        stored.m_XzXsAry.GetSize() != layers.size())
        return false;
    for (qsizetype l = 0; l < layers.size(); ++l) {
        if (!SameNumber(stored.m_HouDuAry[l], layers[l].thickness) || !SameNumber(stored.m_XzXsAry[l], layers[l].factor))
            return false;
    }
    return true;
}

bool CTQLibraryExchange::PlanConstructions(EDuplicate policy)
{
    TQData& data = *m_pData;
    QSet<QString> keys;
    for (qsizetype i = 0; i < data.constructions.size(); ++i) {
        TQData::Construction& construction = data.constructions[i];
        bool provinceKnown = false;
        construction.provinceId = data.ProvinceId(construction.province, &provinceKnown);
        if (!provinceKnown)
            return Fail(construction.place, QStringLiteral("未知的省份“%1”").arg(construction.province));
        const QString key = Key(construction.type + QLatin1Char('\n') + construction.name, construction.provinceId);
        if (keys.contains(key))
            return Fail(construction.place, QStringLiteral("在文件中出现了两次"));
        keys.insert(key);
        QList<int> materialIds;
        if (!ResolveLayers(i, &materialIds))
            return false;
        construction.action = TQData::Add;
        construction.storedId = construction.id = 0;
        construction.writeName = construction.name;
        const int typeId = data.typeIds.value(construction.type);
        if (typeId == 0) {
            m_Plan.added.append(construction.place);
            continue;
        }
        // The stored construction of the key, or of the renamed keys an earlier import gave it.
        for (int number = 1;; ++number) {
            CTQBSCode stored;
            stored.Name = number == 1 ? construction.name : Renamed(construction.name, number);
            stored.BSTId = typeId;
            stored.ProvinceId = construction.provinceId;
            const TQLoad::DBStatusCode status = stored.IsExist(m_pDatabase);
            if (status == TQLoad::DBS_Failed)
                return Fail(construction.place, QStringLiteral("无法读取围护结构库：%1").arg(m_pDatabase->GetLastError()));
            if (status == TQLoad::DBS_NotExist) {
                construction.writeName = stored.Name;
                m_Plan.added.append(number == 1 ? construction.place
                                                : QStringLiteral("围护结构“%1”（改名为“%2”）")
                                                      .arg(construction.name, construction.writeName));
                break;
            }
            if ((stored.CommonFlag != 0 ? 1 : 0) == construction.common &&
                SameLayers(stored.GetID(), i, materialIds)) {
                construction.action = TQData::Equal;
                construction.id = construction.storedId = stored.GetID();
                m_Plan.equal.append(construction.place);
                break;
            }
            if (number == 1) {
                construction.action = TQData::Conflict;
                construction.id = construction.storedId = stored.GetID();
                m_Plan.conflicts.append(construction.place + QStringLiteral("：库中的内容不同"));
                if (policy != Dup_Rename)
                    break;
                construction.action = TQData::Add;
                construction.id = 0;
            }
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Writing

bool CTQLibraryExchange::Import(EDuplicate policy)
{
    m_Warnings.clear();
    if (!m_pDatabase || !m_pDatabase->BeginExclusiveTransaction()) {
        m_strError = QStringLiteral("无法开始写入围护结构库：%1").arg(m_pDatabase ? m_pDatabase->GetLastError() : QString());
        return false;
    }
    // The plan is made again inside the transaction, so it holds for what is written.
    if (!MakePlan(policy) || !WriteMaterials() || !WriteTypes() || !WriteConstructions()) {
        m_pDatabase->RollbackTransaction();
        return false;
    }
    if (!m_pDatabase->CommitTransaction()) {
        m_pDatabase->RollbackTransaction();
        return Fail({}, QStringLiteral("无法保存导入的内容：%1").arg(m_pDatabase->GetLastError()));
    }
    WritePictures();
    return true;
}

bool CTQLibraryExchange::WriteMaterials()
{
    TQData& data = *m_pData;
    for (TQData::Material& material : data.materials) {
        const bool replace = material.action == TQData::Conflict && data.policy == Dup_Replace;
        if (material.id != 0 && !replace)
            continue;
        CTQTimbering record;
        record.Init();
        if (!material.type.isEmpty()) {
            CTQTimberingType type;
            type.Name = material.type;
            const TQLoad::DBStatusCode status = type.AddIfNotExist(m_pDatabase, 1);
            if (status != TQLoad::DBS_Added && status != TQLoad::DBS_Exist)
                return Fail(material.place, QStringLiteral("无法保存材质类型“%1”").arg(material.type));
            record.TTId = type.GetID();
        }
        record.SetStuffName(material.writeName);
        record.SetProvinceID(material.provinceId);
        record.SetCommonFlag(material.common);
        record.SetGMD(material.density);
        record.SetDrXs(material.conductivity);
        record.SetBRr(material.specificHeat);
        if (replace) {
            record.SetID(material.storedId);
            if (record.UpdateIfNoOther(m_pDatabase, 0) != TQLoad::DBS_Updated)
                return Fail(material.place, QStringLiteral("无法替换库中的材质：%1").arg(m_pDatabase->GetLastError()));
        } else if (record.AddIfNotExist(m_pDatabase, 0) != TQLoad::DBS_Added) {
            return Fail(material.place, QStringLiteral("无法保存：%1").arg(m_pDatabase->GetLastError()));
        }
        material.id = record.GetID();
        if (material.hasVapour && !CTQTimberingVapour::Write(material.id, material.vapour, m_pDatabase))
            return Fail(material.place,
                        QStringLiteral("无法保存蒸汽渗透系数：%1").arg(m_pDatabase->GetLastError()));
    }
    return true;
}

bool CTQLibraryExchange::WriteTypes()
{
    TQData& data = *m_pData;
    for (TQData::Type& type : data.types) {
        if (type.id != 0)
            continue;
        CTQBSType record;
        record.Name = type.name;
        record.BSDLId = type.categoryId;
        if (record.AddIfNotExist(m_pDatabase, 0) != TQLoad::DBS_Added)
            return Fail(QStringLiteral("类型“%1”").arg(type.name),
                        QStringLiteral("无法保存：%1").arg(m_pDatabase->GetLastError()));
        type.id = record.GetID();
        data.typeIds.insert(type.name, type.id);
    }
    return true;
}

bool CTQLibraryExchange::WriteConstructions()
{
    TQData& data = *m_pData;
    for (qsizetype i = 0; i < data.constructions.size(); ++i) {
        TQData::Construction& construction = data.constructions[i];
        const bool replace = construction.action == TQData::Conflict && data.policy == Dup_Replace;
        if (construction.action == TQData::Equal || (construction.action == TQData::Conflict && !replace))
            continue;
        QList<int> materialIds;
        if (!ResolveLayers(i, &materialIds))
            return false;
        CTQBSCode code;
        code.Name = construction.writeName;
        code.BSTId = data.typeIds.value(construction.type);
        code.ProvinceId = construction.provinceId;
        code.CommonFlag = construction.common;
        const QString cannot = QStringLiteral("无法保存：%1");
        if (replace) {
            code.SetID(construction.storedId);
            if (code.UpdateIfNoOther(m_pDatabase, 0) != TQLoad::DBS_Updated)
                return Fail(construction.place, cannot.arg(m_pDatabase->GetLastError()));
        } else if (code.AddIfNotExist(m_pDatabase, 0) != TQLoad::DBS_Added) {
            return Fail(construction.place, cannot.arg(m_pDatabase->GetLastError()));
        }
        construction.id = code.GetID();
        QStringList ids, thicknesses, factors;
        for (qsizetype l = 0; l < construction.layers.size(); ++l) {
            ids.append(QString::number(materialIds[l]));
            thicknesses.append(ListNumber(construction.layers[l].thickness));
            factors.append(ListNumber(construction.layers[l].factor));
        }
        CTQBoundingStructure layers;
        layers.BSCId = code.GetID();
        layers.TIdS = ids.join(QLatin1Char(','));
        layers.HouDuS = thicknesses.join(QLatin1Char(','));
        layers.XzXsS = factors.join(QLatin1Char(','));
        layers.HaveDemoBMP = construction.picture.isEmpty() ? 0 : 1;
        const TQLoad::DBStatusCode status = layers.AddOrUpdate(m_pDatabase);
        if (status != TQLoad::DBS_Added && status != TQLoad::DBS_Updated)
            return Fail(construction.place, QStringLiteral("无法保存各层：%1").arg(m_pDatabase->GetLastError()));
    }
    return true;
}

void CTQLibraryExchange::WritePictures()
{
    // Files are no part of the transaction: they follow the committed records. A picture that
    // is already there stays, unless its construction was replaced.
    CTQBSDataAdmin admin;
    for (const TQData::Construction& construction : m_pData->constructions) {
        if (construction.picture.isEmpty() || construction.id == 0)
            continue;
        CTQBSType type;
        type.Name = construction.type;
        CTQBSCode code;
        code.Name = construction.writeName;
        const QString path = admin.GetBSDemoBMPPath(type, code);
        const bool replaced = construction.action == TQData::Conflict && m_pData->policy == Dup_Replace;
        if (QFileInfo::exists(path) && !replaced)
            continue;
        QDir().mkpath(QFileInfo(path).path());
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(construction.picture) != construction.picture.size() ||
            !file.commit())
            m_Warnings.append(QStringLiteral("%1：无法写入示意图 %2").arg(construction.place, path));
    }
}
