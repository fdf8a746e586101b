#include "library/CTQBSSectionPicture.h"
#include "library/CTQMaterialHatches.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using EHatch = CTQMaterialHatches::EHatch;

void WriteFile(const QDir& dir, const QString& name, const QByteArray& text)
{
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// The default library's hatches come from its table; a provincial material it lacks falls back on
// the national one of that name, and a material an engineer added is drawn after its name.
TEST(MaterialHatches, TableFirstThenTheWordsOfTheName)
{
    CTQMaterialHatches hatches;
    QString error;
    ASSERT_TRUE(hatches.Load(QDir(QStringLiteral(TQWALL_SOURCE_DATA_DIR)), &error)) << error.toStdString();

    EXPECT_EQ(hatches.HatchOf(QStringLiteral("钢筋混凝土")), EHatch::ReinforcedConcrete);
    EXPECT_EQ(hatches.HatchOf(QStringLiteral("岩棉带"), QStringLiteral("上海市")), EHatch::Fibre);
    EXPECT_EQ(hatches.HatchOf(QStringLiteral("钢筋混凝土"), QStringLiteral("上海市")), EHatch::ReinforcedConcrete);
    EXPECT_FALSE(hatches.Contains(QStringLiteral("岩棉带")));

    const std::pair<const char*, EHatch> added[] = {{"自配岩棉保温板", EHatch::Fibre},
                                                    {"KP1多孔砖", EHatch::HollowBrick},
                                                    {"页岩实心砖", EHatch::Brick},
                                                    {"eps板", EHatch::Foam},
                                                    {"某厂新型材料", EHatch::Concrete}};
    for (const auto& [name, hatch] : added)
        EXPECT_EQ(hatches.HatchOf(QString::fromUtf8(name)), hatch) << name;
}

TEST(MaterialHatches, AnUnknownHatchInTheTableNamesItsLine)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    WriteFile(dir, QStringLiteral("material_types.csv"), "id,name\n1,混凝土\n");
    WriteFile(dir, QStringLiteral("materials.csv"), "type,name,province,hatch\n混凝土,甲,,concrete\n混凝土,乙,,zigzag\n");
    CTQMaterialHatches hatches;
    QString error;
    EXPECT_FALSE(hatches.Load(dir, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("materials.csv:3"))) << error.toStdString();
}

TEST(BSSectionPicture, DrawsLayersAndNothingWithoutThem)
{
    EXPECT_TRUE(CTQBSSectionPicture::Draw(QStringLiteral("外墙"), QStringLiteral("t"), QStringLiteral("c"), {}).isNull());
    // A layer being typed may hold no number: still drawn, never a crash.
    const QImage image = CTQBSSectionPicture::Draw(
        QStringLiteral("外墙"), QStringLiteral("砖墙"), QStringLiteral("240砖墙"),
        {{QStringLiteral("水泥砂浆"), 20.0}, {QStringLiteral("重砂浆砌筑黏土砖砌体"), 240.0}, {QStringLiteral("x"), qQNaN()}});
    EXPECT_EQ(image.width(), 800);
}

} // namespace
