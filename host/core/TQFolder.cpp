#include "host/core/TQFolder.h"

#include <QDir>

namespace TQLoad {

bool MakeFolder(const QString& folder)
{
    return !folder.isEmpty() && QDir().mkpath(folder);
}

QString WithTrailingSlash(const QString& folder)
{
    QString result = QDir::fromNativeSeparators(folder);
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result.endsWith(QLatin1Char('/')) ? result : result + QLatin1Char('/');
}

} // namespace TQLoad
