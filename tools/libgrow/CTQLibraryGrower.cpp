#include "tools/libgrow/CTQLibraryGrower.h"

#include "host/db/CADODatabase.h"
#include "host/db/CTQDBGlobalSetting.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <iterator>

namespace {

// Thicknesses (mm) and conductivity correction factors the generated layers take.
constexpr int kThicknesses[] = {10, 20, 30, 50, 80, 100, 120, 150, 180, 200, 240, 300, 370};
constexpr double kFactors[] = {1.0, 1.0, 1.0, 1.0, 1.05, 1.1, 1.2, 1.5};

// One construction in four is national, the others belong to a province; one in ten is common.
constexpr int kNationalShare = 4;
constexpr int kCommonShare = 10;
constexpr int kFewestLayers = 3;
constexpr int kMostLayers = 7;

} // namespace

CTQLibraryGrower::CTQLibraryGrower(CADODatabase* database, unsigned int seed) : m_pDatabase(database), m_Random(seed) {}

bool CTQLibraryGrower::Fail(const QString& what)
{
    m_strError = what;
    return false;
}

bool CTQLibraryGrower::ReadIds(const QString& sql, QList<int>& ids)
{
    ids.clear();
    QSqlQuery query(m_pDatabase->GetActiveConnection());
    if (!query.exec(sql))
        return Fail(query.lastError().text());
    while (query.next())
        ids.append(query.value(0).toInt());
    return true;
}

int CTQLibraryGrower::CountConstructions()
{
    QList<int> count;
    const QString table = CTQDBGlobalSetting::GetGlobalSetting()->GetBSCodeTableName();
    return ReadIds(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table), count) && !count.isEmpty() ? count.front()
                                                                                                    : -1;
}

bool CTQLibraryGrower::GrowTo(int total)
{
    m_strError.clear();
    if (!m_pDatabase || !m_pDatabase->IsOpen())
        return Fail(QStringLiteral("library not open"));
    const CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    const int present = CountConstructions();
    if (present < 0)
        return false;
    if (!ReadIds(QStringLiteral("SELECT ID FROM %1 ORDER BY ID").arg(settings->GetBSTypeTableName()), m_Types) ||
        !ReadIds(QStringLiteral("SELECT ID FROM %1 ORDER BY ID").arg(settings->GetProvinceTableName()), m_Provinces) ||
        !ReadIds(QStringLiteral("SELECT ID FROM %1 WHERE ProvinceID = 0 AND DrXs > 0 AND TTId NOT IN (16,17,18) "
                                "ORDER BY ID")
                     .arg(settings->GetTimberingTableName()),
                 m_Materials))
        return false;
    if (m_Types.isEmpty() || m_Materials.isEmpty())
        return Fail(QStringLiteral("the library holds no types or no materials to grow from"));
    if (present >= total)
        return true;
    if (!m_pDatabase->BeginTransaction())
        return Fail(m_pDatabase->GetActiveConnection().lastError().text());
    if (!AddConstructions(present + 1, total - present)) {
        m_pDatabase->RollbackTransaction();
        return false;
    }
    return m_pDatabase->CommitTransaction() || Fail(m_pDatabase->GetActiveConnection().lastError().text());
}

bool CTQLibraryGrower::AddConstructions(int first, int count)
{
    const CTQDBGlobalSetting* settings = CTQDBGlobalSetting::GetGlobalSetting();
    QSqlQuery code(m_pDatabase->GetActiveConnection());
    QSqlQuery layers(m_pDatabase->GetActiveConnection());
    if (!code.prepare(QStringLiteral("INSERT INTO %1 (BSTId, Name, CommonFlag, ProvinceId) VALUES (?, ?, ?, ?) "
                                     "RETURNING ID")
                          .arg(settings->GetBSCodeTableName())))
        return Fail(code.lastError().text());
    if (!layers.prepare(
            QStringLiteral("INSERT INTO %1 (BSCId, TIdS, HouDuS, XzXsS, HaveDemoBMP) VALUES (?, ?, ?, ?, 0)")
                .arg(settings->GetBoundingStructureTableName())))
        return Fail(layers.lastError().text());

    const auto pick = [this](qsizetype size) {
        return static_cast<qsizetype>(std::uniform_int_distribution<qsizetype>(0, size - 1)(m_Random));
    };
    for (int number = first; number < first + count; ++number) {
        const bool national = m_Provinces.isEmpty() || pick(kNationalShare) == 0;
        code.bindValue(0, m_Types[pick(m_Types.size())]);
        code.bindValue(1, QStringLiteral("生成做法%1").arg(number));
        code.bindValue(2, pick(kCommonShare) == 0 ? 1 : 0);
        code.bindValue(3, national ? 0 : m_Provinces[pick(m_Provinces.size())]);
        if (!code.exec() || !code.next())
            return Fail(code.lastError().text());
        const int codeId = code.value(0).toInt();
        code.finish();

        QStringList materials, thicknesses, factors;
        const int layerCount = kFewestLayers + static_cast<int>(pick(kMostLayers - kFewestLayers + 1));
        for (int layer = 0; layer < layerCount; ++layer) {
            materials.append(QString::number(m_Materials[pick(m_Materials.size())]));
            thicknesses.append(QString::number(kThicknesses[pick(std::size(kThicknesses))]));
            factors.append(QString::number(kFactors[pick(std::size(kFactors))]));
        }
        layers.bindValue(0, codeId);
        layers.bindValue(1, materials.join(QLatin1Char(',')));
        layers.bindValue(2, thicknesses.join(QLatin1Char(',')));
        layers.bindValue(3, factors.join(QLatin1Char(',')));
        if (!layers.exec())
            return Fail(layers.lastError().text());
    }
    return true;
}
