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
        // The list is filled up to a power of two with its last ID, so that a few statement texts
        // serve every number of IDs and stay prepared.
        qsizetype size = 1;
        while (size < part.size())
            size *= 2;
        QVariantList values;
        for (qsizetype i = 0; i < size; ++i)
            values.append(part[std::min(i, part.size() - 1)]);
        const QStringList placeholders(size, QStringLiteral("?"));
        CADORecordset rows;
        if (!material.ReadRecords(
                QStringLiteral("SELECT * FROM %1 WHERE ID IN (%2)").arg(table, placeholders.join(',')), rows, database,
                values))
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
