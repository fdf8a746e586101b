// Fuzz target: picture file names (TQLoad::SafeFileName, NameFromSafeFileName) and the demo-picture
// paths the library manager builds from a type's and a construction's name.
//
// Input: the first byte chooses how the rest reads: even as UTF-8, odd as UTF-16 units (so unpaired
// surrogates and any control character occur). The text up to the first line feed is the type's
// name, the rest the construction's. Properties:
//  - an encoded name is not empty, holds no "/", "\" or NUL, is not "." or ".." and starts with no
//    ".", fits 200 bytes and survives the file system's encoding;
//  - it decodes to the name itself, except the shortened form of a long name ("~" and 64 hex
//    digits, which decodes to nothing and starts with the encoding of the name's first characters);
//  - the input read as a file name decodes only when it is the canonical encoding of what it decodes to;
//  - both picture paths lie in their picture folder: the type's picture directly in it, the
//    construction's in the type's folder in it, and the files can be made there.
#include "fuzz/FuzzCheck.h"

#include "host/core/CTQEnviroment.h"
#include "host/core/CTQUserWork.h"
#include "host/core/TQPicturePath.h"
#include "library/CTQBSDataAdmin.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

QTemporaryDir* g_folder = nullptr;

QString Text(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return {};
    const auto* rest = reinterpret_cast<const char*>(data + 1);
    const auto restSize = static_cast<qsizetype>(size - 1);
    if (data[0] % 2 == 0)
        return QString::fromUtf8(rest, restSize);
    QString text(restSize / 2, Qt::Uninitialized); // UTF-16 units, little-endian as on the machines we run on
    std::memcpy(text.data(), rest, static_cast<std::size_t>(text.size()) * sizeof(QChar));
    return text;
}

QString Shown(const QString& name)
{
    QString shown;
    for (QChar c : name)
        shown += c.unicode() >= 0x20 && c.unicode() < 0x7f
                     ? QString(c)
                     : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return shown;
}

void CheckEncoding(const QString& name)
{
    const QString file = TQLoad::SafeFileName(name);
    const auto shown = [&] { return Shown(name) + QStringLiteral(" -> ") + Shown(file); };
    FUZZ_REQUIRE(!file.isEmpty() && !file.contains(u'/') && !file.contains(u'\\') && !file.contains(QChar(u'\0')),
                 "an encoded name is one file-name component", shown());
    FUZZ_REQUIRE(file != QLatin1String(".") && file != QLatin1String("..") && !file.startsWith(u'.'),
                 "an encoded name is not ., .. or hidden", shown());
    FUZZ_REQUIRE(file.toUtf8().size() <= 200, "an encoded name fits 200 bytes", shown());
    // The bytes the file system holds decode to the same name (a leading U+FEFF included, which
    // directory listings keep: only a whole text's decoding drops it).
    QStringDecoder fromFileSystem(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString decoded = fromFileSystem(QFile::encodeName(file));
    FUZZ_REQUIRE(decoded == file && !fromFileSystem.hasError(), "an encoded name survives the file system's encoding",
                 shown());

    static const QRegularExpression shortened(QStringLiteral("^([^~]+)~[0-9a-f]{64}$"));
    if (!file.contains(u'~')) {
        FUZZ_REQUIRE(TQLoad::NameFromSafeFileName(file) == (name.isNull() ? QStringLiteral("") : name),
                     "an encoded name decodes to the name", shown());
        return;
    }
    const QRegularExpressionMatch match = shortened.match(file);
    FUZZ_REQUIRE(match.hasMatch(), "a shortened name is a prefix, ~ and the SHA-256 in hex", shown());
    FUZZ_REQUIRE(TQLoad::NameFromSafeFileName(file).isNull(), "a shortened name decodes to nothing", shown());
    const QString start = TQLoad::NameFromSafeFileName(match.captured(1));
    FUZZ_REQUIRE(!start.isEmpty() && name.startsWith(start), "a shortened name starts with the name's first characters",
                 shown());
    FUZZ_REQUIRE(TQLoad::SafeFileName(name) == file, "a shortened name is the same every time", shown());
}

// Any text read as a file name decodes only when it is the one encoding of the decoded name, so two
// files never claim the same name.
void CheckDecoding(const QString& fileName)
{
    const QString name = TQLoad::NameFromSafeFileName(fileName);
    if (!name.isNull())
        FUZZ_REQUIRE(TQLoad::SafeFileName(name) == fileName, "only a canonical encoding decodes",
                     Shown(fileName) + QStringLiteral(" -> ") + Shown(name));
}

/// Makes `path` as a file and checks that the file system put it below `folder`.
void CheckFileLandsIn(const QString& path, const QString& folder, const std::function<QString()>& shown)
{
    const QFileInfo info(path);
    FUZZ_REQUIRE(QDir().mkpath(info.path()), "the picture's folder can be made", shown());
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly), "the picture file can be made", shown() + u' ' + file.errorString());
    file.close();
    const QString made = QFileInfo(path).canonicalFilePath();
    const QString root = QFileInfo(folder).canonicalFilePath() + u'/';
    FUZZ_REQUIRE(made.startsWith(root), "the picture file lies in the picture folder", shown() + u' ' + made);
    QFile::remove(path);
    // The construction's type folder goes too, so a long run leaves no folder per name behind.
    if (QDir::cleanPath(info.path()) != QDir::cleanPath(folder))
        QDir().rmdir(info.path());
}

void CheckPaths(const QString& typeName, const QString& codeName)
{
    CTQBSType type;
    type.Name = typeName;
    CTQBSCode code;
    code.Name = codeName;
    CTQBSDataAdmin* admin = CTQBSDataAdmin::GetBSDataManager();
    const std::function<QString()> shown = [&] { return Shown(typeName) + QStringLiteral(" / ") + Shown(codeName); };

    const QString userRoot = QDir::cleanPath(CTQUserWork::GetUserWork()->GetWallBmpDir());
    const QString codePicture = admin->GetBSDemoBMPPath(type, code);
    const QString typeFolder = QFileInfo(QDir::cleanPath(codePicture)).path();
    FUZZ_REQUIRE(
        QFileInfo(typeFolder).path() == userRoot && QFileInfo(typeFolder).fileName() == TQLoad::SafeFileName(typeName),
        "a construction's picture lies in its type's folder in the picture folder", shown() + u' ' + codePicture);
    FUZZ_REQUIRE(QFileInfo(codePicture).fileName() == TQLoad::SafeFileName(codeName) + QStringLiteral(".jpg"),
                 "a construction's picture is named after the construction", shown());
    CheckFileLandsIn(codePicture, userRoot, shown);

    const QString dataRoot = QDir::cleanPath(CTQEnviroment::GetEnviroment()->GetWallBmpDir());
    const QString typePicture = admin->GetBSTDemoBMPPath(type);
    FUZZ_REQUIRE(QFileInfo(QDir::cleanPath(typePicture)).path() == dataRoot,
                 "a type's picture lies in the picture folder", shown() + u' ' + typePicture);
    CheckFileLandsIn(typePicture, dataRoot, shown);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static int appArgc = *argc;
    static QCoreApplication app(appArgc, *argv);
    g_folder = new QTemporaryDir;
    FUZZ_REQUIRE(g_folder->isValid(), "a temporary folder", QString());
    std::atexit([] { delete g_folder; });
    CTQUserWork::GetUserWork()->SetUserDataDir(g_folder->filePath(QStringLiteral("user")));
    CTQEnviroment::GetEnviroment()->SetDataDir(g_folder->filePath(QStringLiteral("data")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = Text(data, size);
    const qsizetype split = text.indexOf(u'\n');
    const QString typeName = split < 0 ? text : text.left(split);
    const QString codeName = split < 0 ? QString() : text.mid(split + 1);
    CheckEncoding(typeName);
    CheckEncoding(codeName);
    CheckDecoding(text);
    CheckPaths(typeName, codeName);
    return 0;
}
