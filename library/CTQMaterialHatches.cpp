#include "library/CTQMaterialHatches.h"

#include "host/core/CTQCsvReader.h"
#include "host/core/CTQEnviroment.h"

#include <QDir>
#include <QSet>

#include <utility>

namespace {

bool ReadTable(const QDir& dataDir, const QString& fileName, const QStringList& columns, CTQCsvReader* reader,
               QString* error)
{
    if (reader->ReadFile(dataDir.filePath(fileName)) && reader->CheckColumns(columns))
        return true;
    *error = reader->GetErrorText();
    return false;
}

} // namespace

bool CTQMaterialHatches::Load(const QDir& dataDir, QString* error)
{
    CTQCsvReader types;
    CTQCsvReader materials;
    const QString file = QStringLiteral("materials.csv");
    if (!ReadTable(dataDir, QStringLiteral("material_types.csv"), {"id", "name"}, &types, error) ||
        !ReadTable(dataDir, file, {"type", "name", "province", "hatch"}, &materials, error))
        return false;
    QSet<QString> typeNames;
    for (qsizetype row = 0; row < types.GetRowCount(); ++row)
        typeNames.insert(types.GetField(row, QStringLiteral("name")));

    for (qsizetype row = 0; row < materials.GetRowCount(); ++row) {
        const QString where = QStringLiteral("%1:%2").arg(file).arg(materials.GetLineNumber(row));
        const QString type = materials.GetField(row, QStringLiteral("type"));
        const QString hatchKey = materials.GetField(row, QStringLiteral("hatch"));
        EHatch hatch = EHatch::Concrete;
        if (!typeNames.contains(type)) {
            *error = QStringLiteral("%1: unknown material type \"%2\"").arg(where, type);
            return false;
        }
        if (!CTQWallSectionPainter::HatchFromKey(hatchKey, &hatch)) {
            *error = QStringLiteral("%1: unknown hatch \"%2\"").arg(where, hatchKey);
            return false;
        }
        m_Hatches.insert(Key(materials.GetField(row, QStringLiteral("province")),
                             materials.GetField(row, QStringLiteral("name"))),
                         hatch);
    }
    return true;
}

const CTQMaterialHatches& CTQMaterialHatches::Installed()
{
    static const CTQMaterialHatches installed = [] {
        CTQMaterialHatches table;
        QString error;
        if (!table.Load(QDir(CTQEnviroment::GetEnviroment()->GetDataDir() + QStringLiteral("seed/")), &error))
            table.m_Hatches.clear();
        return table;
    }();
    return installed;
}

CTQMaterialHatches::EHatch CTQMaterialHatches::HatchOf(const QString& name, const QString& province) const
{
    const EHatch* hatch = Find(name, province);
    return hatch != nullptr ? *hatch : HatchFromName(name);
}

bool CTQMaterialHatches::Contains(const QString& name, const QString& province) const
{
    return Find(name, province) != nullptr;
}

const CTQMaterialHatches::EHatch* CTQMaterialHatches::Find(const QString& name, const QString& province) const
{
    auto it = m_Hatches.constFind(Key(province, name));
    if (it == m_Hatches.constEnd())
        it = m_Hatches.constFind(Key(QString(), name));
    return it == m_Hatches.constEnd() ? nullptr : &it.value();
}

CTQMaterialHatches::EHatch CTQMaterialHatches::HatchFromName(const QString& name)
{
    // Checked in this order: the more particular word first ("空心砖" before "砖", "钢筋混凝土"
    // before "混凝土", "加气" before "混凝土", "玻璃棉" before "玻璃").
    static const std::pair<const char16_t*, EHatch> kWords[] = {
        {u"空气", EHatch::Air},          {u"空心砖", EHatch::HollowBrick}, {u"多孔砖", EHatch::HollowBrick},
        {u"砖", EHatch::Brick},          {u"钢筋混凝土", EHatch::ReinforcedConcrete},
        {u"加气", EHatch::Porous},       {u"泡沫混凝土", EHatch::Porous},  {u"珍珠岩", EHatch::Porous},
        {u"蛭石", EHatch::Porous},       {u"聚苯", EHatch::Foam},          {u"挤塑", EHatch::Foam},
        {u"聚氨酯", EHatch::Foam},       {u"EPS", EHatch::Foam},           {u"XPS", EHatch::Foam},
        {u"泡沫", EHatch::Foam},         {u"棉", EHatch::Fibre},           {u"砂浆", EHatch::Mortar},
        {u"抹灰", EHatch::Mortar},       {u"混凝土", EHatch::Concrete},    {u"木", EHatch::Wood},
        {u"板", EHatch::Board},          {u"玻璃", EHatch::Glass},         {u"钢", EHatch::Metal},
        {u"铝", EHatch::Metal},          {u"铁", EHatch::Metal},           {u"油毡", EHatch::Membrane},
        {u"沥青", EHatch::Membrane},     {u"卷材", EHatch::Membrane},      {u"防水", EHatch::Membrane},
        {u"石", EHatch::Stone},          {u"土", EHatch::Earth},           {u"砂", EHatch::Loose},
        {u"渣", EHatch::Loose},
    };
    for (const auto& [word, hatch] : kWords) {
        if (name.contains(QString::fromUtf16(word), Qt::CaseInsensitive))
            return hatch;
    }
    return EHatch::Concrete;
}

QString CTQMaterialHatches::Key(const QString& province, const QString& name)
{
    return province + u'\x1f' + name;
}
