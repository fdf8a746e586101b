#include "host/core/TQPicturePath.h"

namespace TQLoad {

QString SafeFileName(const QString& name)
{
    if (name == u"." || name == u"..")
        return u'_' + name;
    QString safe = name;
    for (QChar& c : safe) {
        if (c == u'/' || c == u'\\' || c == QChar(u'\0'))
            c = u'_';
    }
    return safe;
}

} // namespace TQLoad
