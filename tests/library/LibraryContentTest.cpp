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

TEST_F(LibraryContentTest, ManyTypesAtOnceListWhatEachTypeLists)
{
    AddCode(QStringLiteral("北京砖墙"), m_Brick, m_Beijing, 1);
    AddCode(QStringLiteral("北京屋面"), m_FlatRoof, m_Beijing, 0);
    AddCode(QStringLiteral("黑龙江砖墙"), m_Brick, m_Heilongjiang, 0);
    const auto names = [](const CTQArray<CTQWallData>& walls) {
        QStringList listed;
        for (const CTQWallData& wall : walls)
            listed.append(wall.m_strBSCName);
        return listed;
    };

    struct Mode
    {
        const char* what;
        int province;
        int common;
        int category;
    };
    const Mode modes[] = {{"national", 0, 0, 0},
                          {"Beijing", m_Beijing, 0, 0},
                          {"common", 0, 1, 0},
                          {"national walls", 0, 0, m_Wall},
                          {"Beijing roofs", m_Beijing, 0, m_Roof}};
    for (const Mode& mode : modes) {
        m_Admin.m_BSProvince.SetID(mode.province);
        m_Admin.m_bBSCommon = mode.common;
        QHash<int, CTQArray<CTQWallData>> ofTypes;
        m_Admin.GetBSCodeCWallDataAryOfTypes(mode.category, ofTypes, true, CTQCrXs());
        for (int typeId : {m_Brick, m_Insulated, m_FlatRoof}) {
            const bool inCategory = mode.category == 0 || mode.category == (typeId == m_FlatRoof ? m_Roof : m_Wall);
            const QStringList expected = inCategory ? ListedNames(typeId) : QStringList();
            EXPECT_EQ(names(ofTypes.value(typeId)), expected) << mode.what << " " << typeId;
            EXPECT_EQ(ofTypes.contains(typeId), !expected.isEmpty()) << mode.what << " " << typeId;
        }
    }

    QHash<int, QHash<int, CTQArray<CTQWallData>>> all;
    m_Admin.GetAllBSCodeCWallDataAry(all, false, CTQCrXs());
    EXPECT_EQ(names(all[0][m_Brick]), (QStringList{"240砖墙", "370砖墙"}));
    EXPECT_EQ(names(all[m_Beijing][m_Brick]), QStringList{"北京砖墙"});
    EXPECT_EQ(names(all[m_Heilongjiang][m_Insulated]), QStringList{"北方保温墙"});
    EXPECT_EQ(all[m_Beijing].size(), 2);
}

TEST_F(LibraryContentTest, ListingsTakeTheFirstLayerSetAndMaterialsAsStored)
{
    // A second layer set of the same construction (a library written elsewhere) is not the one
    // read; a material ID without a row gives an empty layer, a repeated one the same material.
    Exec(QStringLiteral("INSERT INTO BoundingStructure (BSCId, TIdS, HouDuS, XzXsS) VALUES (?, ?, '100', '1')"),
         {m_Brick240, QString::number(m_Clay)});
    AddLayers(m_Brick370, QStringLiteral("%1,999999,%1").arg(m_Clay), QStringLiteral("240,10,130"),
              QStringLiteral("1,1,1.2"));
    CTQBSType type;
    type.SetID(m_Brick);
    CTQArray<CTQWallData> walls;
    m_Admin.GetBSCodeCWallDataAry(type, walls, false, CTQCrXs());
    ASSERT_EQ(walls.GetSize(), 2);
    EXPECT_EQ(walls[0].GetTimbering().GetSize(), 3) << "the first layer set by ID";
    const CTQArray<CTQTimberingData>& layers = walls[1].GetTimbering();
    ASSERT_EQ(layers.GetSize(), 3);
    EXPECT_EQ((QList<int>{layers[0].GetStuffID(), layers[1].GetStuffID(), layers[2].GetStuffID()}),
              (QList<int>{m_Clay, 0, m_Clay}));
    EXPECT_EQ(layers[2].GetStuffName(), QStringLiteral("黏土砖"));
    EXPECT_DOUBLE_EQ(layers[2].GetThick(), 0.13);
    EXPECT_DOUBLE_EQ(layers[2].GetDrXsXz(), 1.2);

    const CTQArray<CTQTimbering> materials = m_Admin.GetTimberings({m_Xps, 999999, m_Mortar, m_Xps});
    ASSERT_EQ(materials.GetSize(), 4);
    EXPECT_EQ(materials[0].GetStuffName(), QStringLiteral("XPS板"));
    EXPECT_EQ(materials[1].GetID(), 0) << "no material of that ID";
    EXPECT_TRUE(materials[1].GetStuffName().isEmpty());
    EXPECT_EQ(materials[2].GetDrXs(), 0.93);
    EXPECT_EQ(materials[3].GetID(), m_Xps);
}
