#include "host/CTQDataDir.h"

#include "host/TQFolder.h"

#include <QCoreApplication>
#include <QDir>

#ifndef TQWALL_INSTALL_DATA_DIR
#define TQWALL_INSTALL_DATA_DIR ""
#endif

CTQDataDir::~CTQDataDir() = default;

QString CTQDataDir::GetDataDir() const
{
    if (!m_strDataDir.isEmpty())
        return m_strDataDir;
    const QByteArray fromEnvironment = qgetenv("TQWALL_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return TQLoad::WithTrailingSlash(QString::fromLocal8Bit(fromEnvironment));
    const QString buildShare = QString::fromUtf8(TQWALL_INSTALL_DATA_DIR);
    if (!buildShare.isEmpty() && QDir(buildShare).exists())
        return TQLoad::WithTrailingSlash(buildShare);
    return TQLoad::WithTrailingSlash(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tqwall"));
}

void CTQDataDir::SetDataDir(const QString& folder)
{
    m_strDataDir = folder.isEmpty() ? QString() : TQLoad::WithTrailingSlash(folder);
}

QString CTQDataDir::GetWallBmpDir() const
{
    return GetDataDir() + QStringLiteral("wallbmp/");
}
