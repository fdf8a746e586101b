#include "host/core/TQPicturePath.h"

#include <QCryptographicHash>
#include <QStringList>

namespace TQLoad {

namespace {

// Linux allows 255 bytes per file name; the picture's ".jpg" and some room stay free.
constexpr qsizetype kMaxEncodedBytes = 200;
// A shortened name keeps this many bytes of its encoded form before the digest.
constexpr qsizetype kKeptBytes = 120;

bool MustEncode(const QString& name, qsizetype i)
{
    const char16_t c = name[i].unicode();
    if (c == u'/' || c == u'\\' || c == u'%' || c == u'~' || c < 0x20 || c == 0x7f)
        return true;
    if (c == u'.' && i == 0)
        return true;
    if (QChar::isHighSurrogate(c))
        return i + 1 >= name.size() || !QChar::isLowSurrogate(name[i + 1].unicode());
    if (QChar::isLowSurrogate(c))
        return i == 0 || !QChar::isHighSurrogate(name[i - 1].unicode());
    return false;
}

QString Escape(char16_t c)
{
    return QLatin1Char('%') + QString::number(c, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

// The encoded pieces of `name`: one per escaped unit, per kept character (a surrogate pair whole).
QStringList Pieces(const QString& name)
{
    QStringList pieces;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (MustEncode(name, i))
            pieces.append(Escape(name[i].unicode()));
        else if (name[i].isHighSurrogate())
            pieces.append(name.mid(i++, 2));
        else
            pieces.append(QString(name[i]));
    }
    return pieces;
}

} // namespace

QString SafeFileName(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("%");
    const QStringList pieces = Pieces(name);
    const QString encoded = pieces.join(QString());
    if (encoded.toUtf8().size() <= kMaxEncodedBytes)
        return encoded;
    QString kept;
    qsizetype bytes = 0;
    for (const QString& piece : pieces) {
        bytes += piece.toUtf8().size();
        if (bytes > kKeptBytes)
            break;
        kept += piece;
    }
    const QByteArray digest = QCryptographicHash::hash(
        QByteArray(reinterpret_cast<const char*>(name.utf16()), name.size() * 2), QCryptographicHash::Sha256);
    return kept + QLatin1Char('~') + QString::fromLatin1(digest.toHex());
}

QString NameFromSafeFileName(const QString& fileName)
{
    if (fileName == QLatin1String("%"))
        return QStringLiteral("");
    if (fileName.isEmpty() || fileName.contains(QLatin1Char('~')))
        return {};
    QString name;
    for (qsizetype i = 0; i < fileName.size(); ++i) {
        if (fileName[i] != QLatin1Char('%')) {
            name += fileName[i];
            continue;
        }
        bool ok = false;
        const uint unit = fileName.mid(i + 1, 4).toUInt(&ok, 16);
        if (!ok || fileName.mid(i + 1, 4).size() != 4)
            return {};
        name += QChar(static_cast<char16_t>(unit));
        i += 4;
    }
    // Only the canonical form decodes: "%0041" is not how "A" is written.
    return SafeFileName(name) == fileName ? name : QString();
}

} // namespace TQLoad
