#include "host/core/TQPicturePath.h"

#include "tools/QStringPrinter.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Mapping
{
    const char* label;
    QString name;
    QString safe;
};

void PrintTo(const Mapping& c, std::ostream* os)
{
    *os << c.label;
}

class SafeFileNameMapping : public testing::TestWithParam<Mapping>
{
};

TEST_P(SafeFileNameMapping, MapsTheName)
{
    EXPECT_EQ(TQLoad::SafeFileName(GetParam().name), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(
    Names, SafeFileNameMapping,
    testing::Values(Mapping{"Plain", QStringLiteral("砖墙+聚苯板外保温"), QStringLiteral("砖墙+聚苯板外保温")},
                    Mapping{"PlainWithBrackets", QStringLiteral("370红砖墙(习题)"), QStringLiteral("370红砖墙(习题)")},
                    Mapping{"Slash", QStringLiteral("外墙/内保温"), QStringLiteral("外墙_内保温")},
                    Mapping{"Backslash", QStringLiteral("a\\b"), QStringLiteral("a_b")},
                    Mapping{"OnlySlash", QStringLiteral("/"), QStringLiteral("_")},
                    Mapping{"Dot", QStringLiteral("."), QStringLiteral("_.")},
                    Mapping{"DotDot", QStringLiteral(".."), QStringLiteral("_..")},
                    Mapping{"ThreeDots", QStringLiteral("..."), QStringLiteral("...")},
                    Mapping{"ParentThenName", QStringLiteral("../x"), QStringLiteral(".._x")},
                    Mapping{"WindowsParents", QStringLiteral("..\\..\\x"), QStringLiteral(".._.._x")},
                    Mapping{"Nul", QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"), QStringLiteral("a_b")},
                    Mapping{"Empty", QString(), QString()}));

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
