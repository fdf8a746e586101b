#include "host/ui/TQIcon.h"

#include <QDir>

namespace TQLoad {

QIcon LoadTQIcon(int id)
{
    QIcon icon;
    const QDir group(QStringLiteral(":/tqicon/%1").arg(id));
    for (const QString& file : group.entryList(QDir::Files, QDir::Name))
        icon.addFile(group.filePath(file));
    return icon;
}

} // namespace TQLoad
