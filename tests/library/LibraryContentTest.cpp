// Constructions listed as wall data, demo-picture paths, and deletions with reference checks.
#include "host/core/CTQEnviroment.h"
#include "library/ManagerFixture.h"

#include <cmath>

using namespace TQLoad;

class LibraryContentTest : public ManagerFixture
{
protected:
    QStringList ListedNames(int typeId, bool calculate = false)
    {
        CTQBSType type;
        type.SetID(typeId);
        CTQArray<CTQWallData> walls;
        m_Admin.GetBSCodeCWallDataAry(type, walls, calculate, CTQCrXs());
        QStringList names;
        for (const CTQWallData& wall : walls)
            names.append(wall.m_strBSCName);
        return names;
    }
};

TEST_F(LibraryContentTest, ListModesChooseNationalProvinceOrCommon)
{
    const int beijingBrick = AddCode(QStringLiteral("北京砖墙"), m_Brick, m_Beijing, 1);
    EXPECT_EQ(ListedNames(m_Brick), (QStringList{"240砖墙", "370砖墙"})) << "national, in ID order";

    m_Admin.m_BSProvince.SetID(m_Beijing);
    EXPECT_EQ(ListedNames(m_Brick), QStringList{"北京砖墙"});

    m_Admin.m_bBSCommon = 1;
    EXPECT_EQ(ListedNames(m_Brick), (QStringList{"240砖墙", "北京砖墙"})) << "common ones of every province";
    EXPECT_GT(beijingBrick, 0);
}

TEST_F(LibraryContentTest, WallDataCarriesLayersInMetresAndResults)
{
    CTQBSType type;
    type.SetID(m_Brick);
    CTQArray<CTQWallData> walls;
    m_Admin.GetBSCodeCWallDataAry(type, walls, false, CTQCrXs());
    ASSERT_EQ(walls.GetSize(), 2);
    const CTQWallData& brick = walls[0];
    EXPECT_EQ(brick.m_nBSCId, m_Brick240);
    ASSERT_EQ(brick.GetTimbering().GetSize(), 3);
    EXPECT_DOUBLE_EQ(brick.GetTimbering()[1].GetThick(), 0.24);
    EXPECT_EQ(brick.GetTimbering()[1].GetStuffName(), QStringLiteral("黏土砖"));
    EXPECT_EQ(brick.GetTimbering()[0].GetStuffID(), m_Mortar);
    EXPECT_EQ(brick.GetCrXs(), 0.0) << "nothing is computed unless asked";
    EXPECT_TRUE(walls[1].GetTimbering().IsEmpty()) << "a construction without layer set has no layers";
    // Evaluated with the caller's coefficients: the library dialog's list checks the figures.
}

TEST_F(LibraryContentTest, UnequalOrBrokenLayerListsNeverGiveAPlausibleNumber)
{
    AddLayers(m_Brick370, QStringLiteral("%1,%2").arg(m_Mortar).arg(m_Clay), QStringLiteral("20"),
              QStringLiteral("1,1"));
    AddLayers(m_RoofA, QStringLiteral("999999"), QStringLiteral("100"), QStringLiteral("1"));
    for (int typeId : {m_Brick, m_FlatRoof}) {
        CTQBSType type;
        type.SetID(typeId);
        CTQArray<CTQWallData> walls;
        m_Admin.GetBSCodeCWallDataAry(type, walls, true, CTQCrXs());
        const CTQWallData& broken = walls[walls.GetSize() - 1];
        EXPECT_TRUE(std::isnan(broken.GetCrXs())) << broken.m_strBSCName.toStdString();
    }
}

TEST_F(LibraryContentTest, GetBSResetsWhenNothingIsStored)
{
    CTQBoundingStructure layers;
    layers.TIdS = QStringLiteral("stale");
    EXPECT_EQ(m_Admin.GetBS(layers, m_Brick370), 1);
    EXPECT_TRUE(layers.TIdS.isEmpty());
    EXPECT_EQ(m_Admin.GetBS(layers, m_Brick240), 1);
    EXPECT_EQ(layers.m_StuffAry.GetSize(), 3);
}

TEST_F(LibraryContentTest, PicturePathsStayInTheirFolders)
{
    CTQEnviroment::GetEnviroment()->SetDataDir(m_Folder.filePath(QStringLiteral("share")));
    CTQBSType type;
    type.Name = QStringLiteral("砖墙");
    CTQBSCode code;
    code.Name = QStringLiteral("240砖墙");
    const QString userPictures = CTQUserWork::GetUserWork()->GetWallBmpDir();
    const QString typePictures = CTQEnviroment::GetEnviroment()->GetWallBmpDir();
    EXPECT_EQ(m_Admin.GetBSDemoBMPPath(type, code), userPictures + QStringLiteral("砖墙/240砖墙.jpg"));
    EXPECT_EQ(m_Admin.GetBSTDemoBMPPath(type), typePictures + QStringLiteral("砖墙.jpg"));

    // Names that would leave the folder are made safe (TQPicturePathTest has every case).
    for (const char* hostile : {"..", ".", "../../etc/passwd", "a\\..\\b", "/abs"}) {
        type.Name = code.Name = QString::fromLatin1(hostile);
        for (const QString& path : {m_Admin.GetBSDemoBMPPath(type, code), m_Admin.GetBSTDemoBMPPath(type)}) {
            const QString folder = path.startsWith(userPictures) ? userPictures : typePictures;
            ASSERT_TRUE(path.startsWith(folder)) << path.toStdString();
            const QStringList parts = path.mid(folder.size()).split(QLatin1Char('/'));
            EXPECT_LE(parts.size(), 2) << path.toStdString();
            for (const QString& part : parts)
                EXPECT_TRUE(part != ".." && part != "." && !part.isEmpty()) << path.toStdString();
        }
    }
    CTQEnviroment::GetEnviroment()->SetDataDir({});
}

TEST_F(LibraryContentTest, MaterialInUseIsFoundOnlyAsAWholeElement)
{
    const int other = AddMaterial(QStringLiteral("其他"), m_MortarType, 0, 0, 1000, 0.5, 1.0);
    // Lists that contain the material's digits but never the material itself.
    const QString id = QString::number(other);
    AddLayers(m_Brick370, QStringLiteral("1%1,5").arg(id), QStringLiteral("1,1"), QStringLiteral("1,1"));
    AddLayers(m_RoofA, QStringLiteral("5,") + id + QStringLiteral("0"), QStringLiteral("1,1"), QStringLiteral("1,1"));
    CTQTimbering material;
    material.SetID(other);
    QString message;
    EXPECT_EQ(m_Admin.DeleteTimbering(material, message), 0);
    EXPECT_FALSE(RowExists(QStringLiteral("Timbering"), other));

    const QString clay = QString::number(m_Clay);
    for (const QString& list : {clay, clay + ",5", "5," + clay, "5," + clay + ",7"}) { // only, first, last, middle
        Exec(QStringLiteral("UPDATE BoundingStructure SET TIdS = ? WHERE BSCId = ?"), {list, m_Brick240});
        CTQUiService::Instance().ClearRecords();
        CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
        material.SetID(m_Clay);
        EXPECT_EQ(m_Admin.DeleteTimbering(material, message), 5) << list.toStdString();
        ASSERT_EQ(CTQUiService::Instance().ShownMessages().size(), 1) << list.toStdString();
        EXPECT_EQ(CTQUiService::Instance().ShownMessages()[0].text,
                  QStringLiteral("围护结构 [砖墙] - [240砖墙] 用到了该材质！"));
        EXPECT_EQ(CTQUiService::Instance().ShownMessages()[0].icon, QMessageBox::Warning);
    }
    EXPECT_TRUE(RowExists(QStringLiteral("Timbering"), m_Clay));
}

TEST_F(LibraryContentTest, DeletingATypeTakesItsConstructionsAndLayers)
{
    const int third = AddCode(QStringLiteral("490砖墙"), m_Brick, m_Beijing, 0);
    AddLayers(third, QString::number(m_Clay), QStringLiteral("490"), QStringLiteral("1"));
    CTQBSType type;
    type.SetID(m_Brick);
    EXPECT_EQ(m_Admin.DeleteBSType(type), 1);
    for (int code : {m_Brick240, m_Brick370, third})
        EXPECT_FALSE(RowExists(QStringLiteral("BSCode"), code));
    EXPECT_FALSE(RowExists(QStringLiteral("BSType"), m_Brick));
    EXPECT_EQ(CountRows(QStringLiteral("BoundingStructure")), 0);
    EXPECT_TRUE(RowExists(QStringLiteral("BSDaLei"), m_Wall)) << "the category stays";
    EXPECT_TRUE(RowExists(QStringLiteral("BSCode"), m_RoofA));
}

TEST_F(LibraryContentTest, FailedDeletesReportTheTable)
{
    Exec(QStringLiteral("DROP TABLE BoundingStructure"));
    CTQBSCode code;
    code.SetID(m_Brick370);
    QString message;
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(m_Admin.DeleteBSCode(code, message), 1);
    EXPECT_EQ(message, QStringLiteral("删除表 \"BoundingStructure\" 时出错！"));
    EXPECT_TRUE(RowExists(QStringLiteral("BSCode"), m_Brick370)) << "a failed step deletes nothing";

    CTQTimbering material;
    material.SetID(m_Clay);
    EXPECT_EQ(m_Admin.DeleteTimbering(material, message), 2);
    EXPECT_EQ(CTQUiService::Instance().ShownMessages().last().text, QStringLiteral("操作数据库时出错！"));
    EXPECT_EQ(CTQUiService::Instance().ShownMessages().last().icon, QMessageBox::Critical);
}

TEST_F(LibraryContentTest, MaterialTypeWithAnyMaterialIsKept)
{
    // 保温 holds only province materials, which the national tree does not show.
    CTQTimberingType insulation;
    insulation.SetID(m_InsulationType);
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(m_Admin.DeleteTimberingType(insulation), 0);
    ASSERT_EQ(MessagesShown(), QStringList{"请先删除该分类下的材质！"});
    EXPECT_EQ(CTQUiService::Instance().ShownMessages()[0].icon, QMessageBox::NoIcon);
    EXPECT_TRUE(RowExists(QStringLiteral("TimberingType"), m_InsulationType));

    const int empty = AddMaterialType(QStringLiteral("空分类"));
    CTQTimberingType emptyType;
    emptyType.SetID(empty);
    EXPECT_EQ(m_Admin.DeleteTimberingType(emptyType), 1);
    EXPECT_FALSE(RowExists(QStringLiteral("TimberingType"), empty));
}
