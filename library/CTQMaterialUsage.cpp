#include "library/CTQMaterialUsage.h"

#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"

#include <QStringList>


QString CTQMaterialUsage::ListHoldsCondition(const QString& column, int id, QVariantList& values)
{
    // The whole list, its first, its last or a middle element.
    const QString text = QString::number(id);
    values << text << QStringLiteral("%,") + text << text + QStringLiteral(",%")
           << QStringLiteral("%,") + text + QStringLiteral(",%");
    return QStringLiteral("(%1 = ? OR %1 LIKE ? OR %1 LIKE ? OR %1 LIKE ?)").arg(column);
}

QList<int> CTQMaterialUsage::LayerNumbers(const QString& ids, int id)
{
    QList<int> numbers;
    const QStringList items = ids.split(QLatin1Char(','));
    for (qsizetype i = 0; i < items.size(); ++i) {
        bool ok = false;
        if (items[i].trimmed().toInt(&ok) == id && ok)
            numbers.append(static_cast<int>(i) + 1);
    }
    return numbers;
}

std::optional<QList<CTQMaterialUsage::Use>> CTQMaterialUsage::Find(int materialId)
{
    const CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    QVariantList values;
    const QString condition = ListHoldsCondition(QStringLiteral("l.TIdS"), materialId, values);
    const QString sql =
        QStringLiteral("SELECT c.ID AS CodeID, c.Name AS CodeName, t.Name AS TypeName, d.Name AS CategoryName, "
                       "p.Name AS ProvinceName, l.TIdS AS TIdS FROM %1 l JOIN %2 c ON c.ID = l.BSCId "
                       "JOIN %3 t ON t.ID = c.BSTId LEFT JOIN %4 d ON d.ID = t.BSDLId "
                       "LEFT JOIN %5 p ON p.ID = c.ProvinceId WHERE %6 ORDER BY COALESCE(d.ID, 0), t.ID, c.ID, l.ID")
            .arg(settings->GetBoundingStructureTableName(), settings->GetBSCodeTableName(),
                 settings->GetBSTypeTableName(), settings->GetBSDaLeiTableName(), settings->GetProvinceTableName(),
                 condition);
    CADORecordset rows;
    if (!rows.Open(settings->GetLoadParamDatabase(), sql, values))
        return std::nullopt;
    QList<Use> uses;
    for (; !rows.IsEOF(); rows.MoveNext()) {
        Use use;
        QString ids;
        rows.GetFieldValue(QStringLiteral("CodeID"), use.ConstructionId);
        rows.GetFieldValue(QStringLiteral("CodeName"), use.Construction);
        rows.GetFieldValue(QStringLiteral("TypeName"), use.Type);
        rows.GetFieldValue(QStringLiteral("CategoryName"), use.Category);
        rows.GetFieldValue(QStringLiteral("ProvinceName"), use.Province);
        rows.GetFieldValue(QStringLiteral("TIdS"), ids);
        use.Layers = LayerNumbers(ids, materialId);
        if (!use.Layers.isEmpty())
            uses.append(use);
    }
    return uses;
}

QString CTQMaterialUsage::LayerText(const QList<int>& layers)
{
    QStringList texts;
    for (int layer : layers)
        texts.append(QString::number(layer));
    return texts.join(QStringLiteral("、"));
}
