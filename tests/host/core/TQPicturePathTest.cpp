#include "host/core/TQPicturePath.h"

#include "support/QtPrinters.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(SafeFileName, MapsSeparatorsAndParentNames)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("砖墙+聚苯板外保温"), QStringLiteral("砖墙+聚苯板外保温")},
        {QStringLiteral("370红砖墙(习题)"), QStringLiteral("370红砖墙(习题)")},
        {QStringLiteral("外墙/内保温"), QStringLiteral("外墙_内保温")},
        {QStringLiteral("a\\b"), QStringLiteral("a_b")},
        {QStringLiteral("/"), QStringLiteral("_")},
        {QStringLiteral("."), QStringLiteral("_.")},
        {QStringLiteral(".."), QStringLiteral("_..")},
        {QStringLiteral("..."), QStringLiteral("...")},
        {QStringLiteral("../x"), QStringLiteral(".._x")},
        {QStringLiteral("..\\..\\x"), QStringLiteral(".._.._x")},
        {QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"), QStringLiteral("a_b")},
        {QString(), QString()},
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(TQLoad::SafeFileName(name), safe);
}

// Whatever a user names a type or a construction, the picture paths built from the two names stay
// inside the picture folder: a type's picture directly in it, a construction's one folder below.
TEST(SafeFileName, PicturePathsStayInTheFolder)
{
    const QString root = QStringLiteral("/data/wallbmp");
    const QStringList hostile = {
        QStringLiteral(".."),        QStringLiteral("."),    QStringLiteral("../../etc/passwd"),
        QStringLiteral("..\\..\\w"), QStringLiteral("/abs"), QStringLiteral("a/../../b"),
        QStringLiteral("./"),        QStringLiteral("//"),   QStringLiteral("x/.."),
        QStringLiteral("正常名称")};
    for (const QString& type : hostile) {
        const QString typePicture = QDir::cleanPath(root + u'/' + TQLoad::SafeFileName(type) + QStringLiteral(".jpg"));
        EXPECT_EQ(QFileInfo(typePicture).path(), root) << type.toStdString();
        for (const QString& code : hostile) {
            const QString codePicture = QDir::cleanPath(root + u'/' + TQLoad::SafeFileName(type) + u'/' +
                                                        TQLoad::SafeFileName(code) + QStringLiteral(".jpg"));
            EXPECT_EQ(QFileInfo(QFileInfo(codePicture).path()).path(), root)
                << type.toStdString() << " / " << code.toStdString();
        }
    }
}

} // namespace
