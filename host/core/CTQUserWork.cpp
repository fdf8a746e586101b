#include "host/core/CTQUserWork.h"

#include "host/core/TQFolder.h"

#include <QStandardPaths>

CTQUserWork* CTQUserWork::GetUserWork()
{
    static CTQUserWork instance;
    return &instance;
}

QString CTQUserWork::GetUserDataDir() const
{
    if (!m_strUserDataDir.isEmpty())
        return m_strUserDataDir;
    const QByteArray fromEnvironment = qgetenv("TQWALL_USER_DIR");
    if (!fromEnvironment.isEmpty())
        return TQLoad::WithTrailingSlash(QString::fromLocal8Bit(fromEnvironment));
    return TQLoad::WithTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                                     QStringLiteral("/TQWall"));
}

void CTQUserWork::SetUserDataDir(const QString& folder)
{
    m_strUserDataDir = folder.isEmpty() ? QString() : TQLoad::WithTrailingSlash(folder);
}

QString CTQUserWork::GetWallBmpDir() const
{
    return GetUserDataDir() + QStringLiteral("wallbmp/");
}
