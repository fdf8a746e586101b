#include "host/core/TQPicturePath.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Whatever a user names a type or a construction, the picture path built from it stays inside the
// picture folder: no separator survives, and "." and ".." become names of their own.
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
        {QStringLiteral("a/../../b"), QStringLiteral("a_.._.._b")},
        {QStringLiteral("./"), QStringLiteral("._")},
        {QStringLiteral("//"), QStringLiteral("__")},
        {QStringLiteral("x/.."), QStringLiteral("x_..")},
    };
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(TQLoad::SafeFileName(name), safe);
}

} // namespace
