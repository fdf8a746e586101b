#include "host/core/CTQDataDir.h"

#include "host/core/TQFolder.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

#ifndef TQWALL_DATA_DIR_FROM_LIB
#define TQWALL_DATA_DIR_FROM_LIB "../share/tqwall"
#endif

namespace
{
// The folder this library was loaded from: the data folder is found relative to it, so a build tree
// and an installed tree (which share one layout) both find their own data.
QString LibraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<const void*>(&LibraryFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).canonicalPath();
}
} // namespace

CTQDataDir::~CTQDataDir() = default;

QString CTQDataDir::GetDataDir() const
{
    if (!m_strDataDir.isEmpty())
        return m_strDataDir;
    const QByteArray fromEnvironment = qgetenv("TQWALL_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return TQLoad::WithTrailingSlash(QString::fromLocal8Bit(fromEnvironment));
    return TQLoad::WithTrailingSlash(
        QDir::cleanPath(LibraryFolder() + QLatin1Char('/') + QStringLiteral(TQWALL_DATA_DIR_FROM_LIB)));
}

void CTQDataDir::SetDataDir(const QString& folder)
{
    m_strDataDir = folder.isEmpty() ? QString() : TQLoad::WithTrailingSlash(folder);
}

QString CTQDataDir::GetWallBmpDir() const
{
    return GetDataDir() + QStringLiteral("wallbmp/");
}
