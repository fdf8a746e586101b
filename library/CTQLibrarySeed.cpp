#include "library/CTQLibrarySeed.h"

#include "library/CTQTimberingVapour.h"

#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/core/CTQCsvReader.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/core/CTQEnviroment.h"
#include "host/db/CTQLibraryDatabase.h"
#include "host/core/TQString.h"
#include "records/CTQBSCategory.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQBoundingStructure.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"

#include <QDir>

#include <cmath>

namespace {

bool ToDouble(const QString& text, double* value)
{
    bool ok = false;
    *value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(*value);
}

bool ToInt(const QString& text, int* value)
{
    bool ok = false;
    *value = text.trimmed().toInt(&ok);
    return ok;
}

} // namespace

QString CTQLibrarySeed::DefaultFolder()
{
    return CTQEnviroment::GetEnviroment()->GetDataDir() + QStringLiteral("seed/");
}

bool CTQLibrarySeed::IsEmpty(CADODatabase* database)
{
    CADORecordset rows;
    const QString table = CTQBSCategory().GetTableName();
    return rows.Open(database, QStringLiteral("SELECT ID FROM %1 LIMIT 1").arg(table)) && rows.GetRecordCount() == 0;
}

bool CTQLibrarySeed::OpenLibrary(const QString& commandLinePath, QString* error, QStringList* duplicates)
{
    auto database =
        CTQLibraryDatabase::Open(CTQLibraryDatabase::ConfigFromSettings(commandLinePath), error, nullptr, duplicates);
    if (!database)
        return false;
    if (IsEmpty(database.get())) {
        CTQLibrarySeed seed(database.get(), DefaultFolder());
        if (!seed.Fill()) {
            if (error)
                *error = seed.GetErrorText();
            return false;
        }
    }
    CTQDBGlobalSetting::GetGlobalSetting()->SetLoadParamDatabase(std::move(database));
    return true;
}

CTQLibrarySeed::CTQLibrarySeed(CADODatabase* database, const QString& folder)
    : m_pDatabase(database), m_strFolder(folder)
{
}

bool CTQLibrarySeed::Fill()
{
    return FillInTransaction(&CTQLibrarySeed::FillAll);
}

bool CTQLibrarySeed::FillReferenceData()
{
    return FillInTransaction(&CTQLibrarySeed::FillReferences);
}

bool CTQLibrarySeed::FillInTransaction(bool (CTQLibrarySeed::*fill)())
{
    m_strError.clear();
    // Under the library's write lock a second process that opens the same new library waits for
    // the first fill and then finds the library filled.
    if (!m_pDatabase || !m_pDatabase->BeginExclusiveTransaction()) {
        m_strError = QStringLiteral("无法开始写入围护结构库: %1").arg(m_pDatabase ? m_pDatabase->GetLastError() : QString());
        return false;
    }
    if (!IsEmpty(m_pDatabase)) {
        m_pDatabase->RollbackTransaction();
        return true;
    }
    if (!(this->*fill)()) {
        m_pDatabase->RollbackTransaction();
        return false;
    }
    if (!m_pDatabase->CommitTransaction()) {
        m_strError = QStringLiteral("无法保存默认围护结构库: %1").arg(m_pDatabase->GetLastError());
        m_pDatabase->RollbackTransaction();
        return false;
    }
    return true;
}

bool CTQLibrarySeed::FillAll()
{
    return FillReferences() && LoadMaterials() && LoadMaterialVapour() && LoadConstructionTypes() && LoadConstructions();
}

bool CTQLibrarySeed::FillReferences()
{
    return LoadCategories() && LoadProvinces() && LoadMaterialTypes();
}

bool CTQLibrarySeed::ReadFile(const QString& name, const QStringList& columns, CTQCsvReader& reader)
{
    if (!reader.ReadFile(QDir(m_strFolder).filePath(name)) || !reader.CheckColumns(columns)) {
        m_strError = reader.GetErrorText();
        return false;
    }
    return true;
}

bool CTQLibrarySeed::Fail(const CTQCsvReader& reader, qsizetype row, const QString& what)
{
    m_strError = QStringLiteral("%1 (line %2)").arg(what).arg(reader.GetLineNumber(row));
    return false;
}

int CTQLibrarySeed::ProvinceId(const QString& name, bool* ok) const
{
    *ok = name.isEmpty() || m_Provinces.contains(name);
    return name.isEmpty() ? 0 : m_Provinces.value(name);
}

QString CTQLibrarySeed::MaterialKey(const QString& name, int provinceId)
{
    return QString::number(provinceId) + QLatin1Char('\n') + name;
}

bool CTQLibrarySeed::LoadCategories()
{
    // The category record carries no order: categories go in with their OrderId directly.
    CTQCsvReader reader;
    if (!ReadFile(QStringLiteral("categories.csv"), {QStringLiteral("order_id"), QStringLiteral("name")}, reader))
        return false;
    const QString table = CTQBSCategory().GetTableName();
    for (qsizetype row = 0; row < reader.GetRowCount(); ++row) {
        int order = 0;
        const QString name = reader.GetField(row, QStringLiteral("name"));
        if (!ToInt(reader.GetField(row, QStringLiteral("order_id")), &order) || name.isEmpty())
            return Fail(reader, row, QStringLiteral("categories.csv: bad category"));
        CADORecordset inserted;
        if (!inserted.Open(m_pDatabase,
                           QStringLiteral("INSERT INTO %1 (Name, OrderId) VALUES (?, ?) RETURNING ID").arg(table),
                           {name, order}) ||
            inserted.GetRecordCount() != 1)
            return Fail(reader, row, m_pDatabase->GetLastError());
        int id = 0;
        inserted.GetFieldValue(QStringLiteral("ID"), id);
        m_Categories.insert(name, id);
    }
    return true;
}

bool CTQLibrarySeed::LoadProvinces()
{
    CTQCsvReader reader;
    if (!ReadFile(QStringLiteral("provinces.csv"), {QStringLiteral("name"), QStringLiteral("zone_id")}, reader))
        return false;
    for (qsizetype row = 0; row < reader.GetRowCount(); ++row) {
        CTQWallProvince province;
        province.Name = reader.GetField(row, QStringLiteral("name"));
        if (!ToInt(reader.GetField(row, QStringLiteral("zone_id")), &province.CId) || province.Name.isEmpty())
            return Fail(reader, row, QStringLiteral("provinces.csv: bad province"));
        if (province.AddIfNotExist(m_pDatabase, 0) != TQLoad::DBS_Added)
            return Fail(reader, row, QStringLiteral("provinces.csv: cannot store %1").arg(province.Name));
        m_Provinces.insert(province.Name, province.GetID());
    }
    return true;
}

bool CTQLibrarySeed::LoadMaterialTypes()
{
    // Material types keep the IDs of the file, so the reserved IDs 16 to 18 stay taken and every
    // type a user adds gets an ID above them.
    CTQCsvReader reader;
    if (!ReadFile(QStringLiteral("material_types.csv"), {QStringLiteral("id"), QStringLiteral("name")}, reader))
        return false;
    const QString table = CTQTimberingType().GetTableName();
    for (qsizetype row = 0; row < reader.GetRowCount(); ++row) {
        int id = 0;
        const QString name = reader.GetField(row, QStringLiteral("name"));
        if (!ToInt(reader.GetField(row, QStringLiteral("id")), &id) || id <= 0 || name.isEmpty() ||
            m_MaterialTypes.contains(name))
            return Fail(reader, row, QStringLiteral("material_types.csv: bad material type"));
        if (!m_pDatabase->Execute(QStringLiteral("INSERT INTO %1 (ID, Name) VALUES (?, ?)").arg(table), {id, name}))
            return Fail(reader, row, m_pDatabase->GetLastError());
        m_MaterialTypes.insert(name, id);
    }
    // PostgreSQL's identity does not follow explicit IDs; move it past the largest one.
    if (!m_pDatabase->IsSQLite() &&
        !m_pDatabase->Execute(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), "
                                             "(SELECT MAX(ID) FROM %1))")
                                  .arg(table.toLower())))
        return Fail(reader, 0, m_pDatabase->GetLastError());
    return true;
}

bool CTQLibrarySeed::LoadMaterials()
{
    CTQCsvReader reader;
    const QStringList columns{QStringLiteral("type"),    QStringLiteral("name"),
                              QStringLiteral("density_kg_m3"), QStringLiteral("conductivity_w_mk"),
                              QStringLiteral("specific_heat_kj_kgk"), QStringLiteral("common"),
                              QStringLiteral("province")};
    if (!ReadFile(QStringLiteral("materials.csv"), columns, reader))
        return false;
    for (qsizetype row = 0; row < reader.GetRowCount(); ++row) {
        const QString typeName = reader.GetField(row, QStringLiteral("type"));
        double density = 0.0, conductivity = 0.0, specificHeat = 0.0;
        int common = 0;
        bool provinceKnown = false;
        const int provinceId = ProvinceId(reader.GetField(row, QStringLiteral("province")), &provinceKnown);
        if (!m_MaterialTypes.contains(typeName) || !provinceKnown ||
            !ToDouble(reader.GetField(row, QStringLiteral("density_kg_m3")), &density) ||
            !ToDouble(reader.GetField(row, QStringLiteral("conductivity_w_mk")), &conductivity) ||
            !ToDouble(reader.GetField(row, QStringLiteral("specific_heat_kj_kgk")), &specificHeat) ||
            !ToInt(reader.GetField(row, QStringLiteral("common")), &common))
            return Fail(reader, row, QStringLiteral("materials.csv: bad material"));
        CTQTimbering material;
        material.Init();
        material.SetStuffName(reader.GetField(row, QStringLiteral("name")));
        material.TTId = m_MaterialTypes.value(typeName);
        material.SetProvinceID(provinceId);
        material.SetCommonFlag(common);
        material.SetGMD(density);
        material.SetDrXs(conductivity);
        material.SetBRr(specificHeat);
        if (material.AddIfNotExist(m_pDatabase, 0) != TQLoad::DBS_Added)
            return Fail(reader, row, QStringLiteral("materials.csv: cannot store %1").arg(material.GetStuffName()));
        m_Materials.insert(MaterialKey(material.GetStuffName(), provinceId), material.GetID());
    }
    return true;
}

bool CTQLibrarySeed::LoadMaterialVapour()
{
    // Only the materials a source gives μ for have a row; the others stay without vapour data.
    CTQCsvReader reader;
    const QStringList columns{QStringLiteral("material"), QStringLiteral("province"),
                              QStringLiteral("vapour_permeability_g_mhpa")};
    if (!ReadFile(QStringLiteral("material_vapour.csv"), columns, reader))
        return false;
    for (qsizetype row = 0; row < reader.GetRowCount(); ++row) {
        bool provinceKnown = false;
        const int provinceId = ProvinceId(reader.GetField(row, QStringLiteral("province")), &provinceKnown);
        const QString key = MaterialKey(reader.GetField(row, QStringLiteral("material")), provinceId);
        double permeability = 0.0;
        if (!provinceKnown || !m_Materials.contains(key) ||
            !ToDouble(reader.GetField(row, QStringLiteral("vapour_permeability_g_mhpa")), &permeability) ||
            permeability <= 0.0)
            return Fail(reader, row, QStringLiteral("material_vapour.csv: bad vapour permeability"));
        if (!CTQTimberingVapour::Write(m_Materials.value(key), permeability, m_pDatabase))
            return Fail(reader, row, QStringLiteral("material_vapour.csv: cannot store it"));
    }
    return true;
}

bool CTQLibrarySeed::LoadConstructionTypes()
{
    CTQCsvReader reader;
    if (!ReadFile(QStringLiteral("construction_types.csv"), {QStringLiteral("category"), QStringLiteral("name")},
                  reader))
        return false;
    for (qsizetype row = 0; row < reader.GetRowCount(); ++row) {
        const QString category = reader.GetField(row, QStringLiteral("category"));
        CTQBSType type;
        type.Name = reader.GetField(row, QStringLiteral("name"));
        if (!m_Categories.contains(category) || type.Name.isEmpty())
            return Fail(reader, row, QStringLiteral("construction_types.csv: bad type"));
        type.BSDLId = m_Categories.value(category);
        if (type.AddIfNotExist(m_pDatabase, 0) != TQLoad::DBS_Added)
            return Fail(reader, row, QStringLiteral("construction_types.csv: cannot store %1").arg(type.Name));
        m_Types.insert(type.Name, type.GetID());
    }
    return true;
}

bool CTQLibrarySeed::LoadConstructions()
{
    CTQCsvReader reader;
    const QStringList columns{QStringLiteral("type"),        QStringLiteral("name"),
                              QStringLiteral("province"),    QStringLiteral("common"),
                              QStringLiteral("layer_index"), QStringLiteral("material"),
                              QStringLiteral("thickness_mm"), QStringLiteral("correction_factor")};
    if (!ReadFile(QStringLiteral("constructions.csv"), columns, reader))
        return false;
    // The rows of one construction follow each other, layer 1 (outside) first.
    qsizetype row = 0;
    while (row < reader.GetRowCount()) {
        const QString typeName = reader.GetField(row, QStringLiteral("type"));
        const QString name = reader.GetField(row, QStringLiteral("name"));
        const QString provinceName = reader.GetField(row, QStringLiteral("province"));
        bool provinceKnown = false;
        CTQBSCode code;
        code.Name = name;
        code.ProvinceId = ProvinceId(provinceName, &provinceKnown);
        if (!m_Types.contains(typeName) || name.isEmpty() || !provinceKnown ||
            !ToInt(reader.GetField(row, QStringLiteral("common")), &code.CommonFlag))
            return Fail(reader, row, QStringLiteral("constructions.csv: bad construction %1").arg(name));
        code.BSTId = m_Types.value(typeName);
        if (code.AddIfNotExist(m_pDatabase, 0) != TQLoad::DBS_Added)
            return Fail(reader, row, QStringLiteral("constructions.csv: cannot store %1").arg(name));

        QStringList ids, thicknesses, factors;
        for (int layer = 1; row < reader.GetRowCount() && reader.GetField(row, QStringLiteral("type")) == typeName &&
                            reader.GetField(row, QStringLiteral("name")) == name &&
                            reader.GetField(row, QStringLiteral("province")) == provinceName;
             ++row, ++layer) {
            const QString material = reader.GetField(row, QStringLiteral("material"));
            const int materialId = m_Materials.value(MaterialKey(material, code.ProvinceId),
                                                     m_Materials.value(MaterialKey(material, 0)));
            int index = 0;
            double thickness = 0.0, factor = 0.0;
            if (materialId == 0 || !ToInt(reader.GetField(row, QStringLiteral("layer_index")), &index) ||
                index != layer || !ToDouble(reader.GetField(row, QStringLiteral("thickness_mm")), &thickness) ||
                thickness <= 0.0 || !ToDouble(reader.GetField(row, QStringLiteral("correction_factor")), &factor) ||
                factor <= 0.0)
                return Fail(reader, row, QStringLiteral("constructions.csv: bad layer %1 of %2").arg(layer).arg(name));
            ids.append(TQLoad::IntToStr(materialId));
            thicknesses.append(TQLoad::DblToStr(thickness, 2));
            factors.append(TQLoad::DblToStr(factor, 2));
        }
        CTQBoundingStructure layers;
        layers.BSCId = code.GetID();
        layers.TIdS = ids.join(QLatin1Char(','));
        layers.HouDuS = thicknesses.join(QLatin1Char(','));
        layers.XzXsS = factors.join(QLatin1Char(','));
        if (layers.AddOrUpdate(m_pDatabase) != TQLoad::DBS_Added)
            return Fail(reader, row - 1, QStringLiteral("constructions.csv: cannot store the layers of %1").arg(name));
    }
    return true;
}
