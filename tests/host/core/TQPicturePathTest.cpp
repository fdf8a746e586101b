#include "host/core/TQPicturePath.h"

#include "support/QtPrinters.h"

#include <QSet>

#include <gtest/gtest.h>

#include <utility>

namespace {

// Names a file system treats specially are encoded; every other character stays as typed. Distinct
// names never share a file, and every name of ordinary length reads back from its file.
TEST(SafeFileName, EncodesOnlyWhatAFileNameCannotHoldAndReadsBack)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("砖墙+聚苯板外保温"), QStringLiteral("砖墙+聚苯板外保温")},
        {QStringLiteral("370红砖墙(习题)"), QStringLiteral("370红砖墙(习题)")},
        {QStringLiteral("外墙/内保温"), QStringLiteral("外墙%002F内保温")},
        {QStringLiteral("外墙_内保温"), QStringLiteral("外墙_内保温")},
        {QStringLiteral("a\\b"), QStringLiteral("a%005Cb")},
        {QStringLiteral("a%002Fb"), QStringLiteral("a%0025002Fb")},
        {QStringLiteral("."), QStringLiteral("%002E")},
        {QStringLiteral(".."), QStringLiteral("%002E.")},
        {QStringLiteral("a..b."), QStringLiteral("a..b.")},
        {QStringLiteral("../x"), QStringLiteral("%002E.%002Fx")},
        {QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"), QStringLiteral("a%0000b")},
        {QStringLiteral("砖😀"), QStringLiteral("砖😀")},
        {QString(), QStringLiteral("%")},
    };
    QStringList names = {QStringLiteral("a%b"), QStringLiteral("~"), QStringLiteral(".a"), QStringLiteral("%"),
                         QString(1000, QChar(u'长')), QString(999, QChar(u'长')) + QStringLiteral("短")};
    for (const auto& [name, safe] : cases) {
        EXPECT_EQ(TQLoad::SafeFileName(name), safe) << name.toStdString();
        names.append(name);
    }
    QSet<QString> files;
    for (const QString& name : names) {
        const QString file = TQLoad::SafeFileName(name);
        EXPECT_FALSE(files.contains(file)) << file.toStdString();
        files.insert(file);
        EXPECT_LE(file.toUtf8().size(), 200);
        if (name.size() < 100) {
            EXPECT_EQ(TQLoad::NameFromSafeFileName(file), name.isNull() ? QStringLiteral("") : name);
        }
    }
    EXPECT_TRUE(TQLoad::NameFromSafeFileName(QStringLiteral("%0041")).isNull()) << "not the canonical form of A";
    EXPECT_TRUE(TQLoad::NameFromSafeFileName(QStringLiteral("a%zz")).isNull());
}

} // namespace
