#include "records/CTQTimberingMap.h"

#include "host/db/CADORecordset.h"

#include <QSet>
#include <QStringList>

#include <algorithm>

bool CTQTimberingMap::Read(const QList<int>& ids, CADODatabase* database)
{
    m_Materials.clear();
    QList<int> distinct = QSet<int>(ids.begin(), ids.end()).values();
    std::sort(distinct.begin(), distinct.end());
    CTQTimbering material;
    const QString table = material.GetTableName();
    for (qsizetype first = 0; first < distinct.size(); first += kIdsPerStatement) {
        const QList<int> part = distinct.mid(first, kIdsPerStatement);
        QVariantList values;
        for (int id : part)
            values.append(id);
        const QStringList placeholders(part.size(), QStringLiteral("?"));
        CADORecordset rows;
        if (!material.ReadRecords(QStringLiteral("SELECT * FROM %1 WHERE ID IN (%2)").arg(table, placeholders.join(',')),
                                  rows, database, values))
            return false;
        for (unsigned int row = 0; row < rows.GetRecordCount(); ++row, rows.MoveNext()) {
            material.Init();
            material.TTId = 0;
            if (material.MakeObjectFromRS(rows))
                m_Materials.insert(material.GetID(), material);
        }
    }
    return true;
}

CTQTimbering CTQTimberingMap::Get(int id) const
{
    return m_Materials.value(id);
}
