// Deletions that are all-or-nothing, reference checks that see every live layer set and only whole
// IDs, and demo pictures that go with their construction or type and never share a file.
#include "host/core/CTQEnviroment.h"
#include "host/core/CTQUserWork.h"
#include "library/ManagerFixture.h"

#include <QDir>
#include <QFile>

class DeletionSafetyTest : public ManagerFixture
{
protected:
    /// Writes an (empty) picture file for the construction, as the editor stores one.
    QString MakePicture(int typeId, int codeId)
    {
        CTQBSType type;
        CTQBSCode code;
        EXPECT_TRUE(type.ReadData(typeId, nullptr) && code.ReadData(codeId, nullptr));
        const QString path = m_Admin.GetBSDemoBMPPath(type, code);
        EXPECT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    int DeleteMaterial(int id, QString& message)
    {
        CTQTimbering material;
        material.SetID(id);
        return m_Admin.DeleteTimbering(material, message);
    }
    void ExpectShown(const QString& text, QMessageBox::Icon icon)
    {
        ASSERT_FALSE(CTQUiService::Instance().ShownMessages().isEmpty());
        EXPECT_EQ(CTQUiService::Instance().ShownMessages().last().text, text);
        EXPECT_EQ(CTQUiService::Instance().ShownMessages().last().icon, icon);
    }
};

TEST_F(DeletionSafetyTest, AFailedStepDeletesNothing)
{
    // The layer sets cannot be deleted or read: the construction stays, and so does the material.
    Exec("ALTER TABLE BoundingStructure RENAME TO BoundingStructureGone");
    CTQBSCode code;
    code.SetID(m_Brick240);
    QString message;
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(m_Admin.DeleteBSCode(code, message), 1);
    EXPECT_EQ(message, QStringLiteral("删除表 \"BoundingStructure\" 时出错！"));
    EXPECT_TRUE(RowExists("BSCode", m_Brick240));
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(DeleteMaterial(m_Clay, message), 2);
    ExpectShown("操作数据库时出错！", QMessageBox::Critical);
    EXPECT_TRUE(RowExists("Timbering", m_Clay));
    Exec("ALTER TABLE BoundingStructureGone RENAME TO BoundingStructure");

    // The constructions of a type cannot be read: the type stays with all of them.
    Exec("ALTER TABLE BSCode RENAME TO BSCodeGone");
    CTQBSType type;
    type.SetID(m_Brick);
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(m_Admin.DeleteBSType(type), 0);
    EXPECT_EQ(CTQUiService::Instance().ShownMessages().last().icon, QMessageBox::Critical);
    Exec("ALTER TABLE BSCodeGone RENAME TO BSCode");
    EXPECT_TRUE(RowExists("BSType", m_Brick));
    EXPECT_TRUE(RowExists("BSCode", m_Brick370));
    EXPECT_EQ(CountRows("BoundingStructure", "BSCId = ?", {m_Brick240}), 1);
}

TEST_F(DeletionSafetyTest, AMaterialInUseIsFoundInEveryLiveLayerSetAsAWholeID)
{
    // Lists that hold the material's digits but never the material, and an orphaned layer set (its
    // construction is gone) that names it: it may go.
    const int other = AddMaterial("其他", m_MortarType, 0, 0, 1000, 0.5, 1.0);
    const QString id = QString::number(other);
    AddLayers(m_Brick370, "1" + id + ",5", "1,1", "1,1");
    AddLayers(m_RoofA, "5," + id + "0", "1,1", "1,1");
    Exec("INSERT INTO BoundingStructure (BSCId, TIdS, HouDuS, XzXsS) VALUES (99999, ?, '80', '1')", {id});
    QString message;
    EXPECT_EQ(DeleteMaterial(other, message), 0);
    EXPECT_FALSE(RowExists("Timbering", other));

    // Named first, last, in the middle or alone by a live layer set, behind an orphan and behind
    // the layer set of 240砖墙: it stays.
    Exec("INSERT INTO BoundingStructure (BSCId, TIdS, HouDuS, XzXsS) VALUES (99998, ?, '80', '1')",
         {QString::number(m_Xps)});
    const QString xps = QString::number(m_Xps);
    AddLayers(m_NorthWall, xps, "80", "1");
    Exec("UPDATE BoundingStructure SET ID = ID + 1000 WHERE BSCId = ?", {m_NorthWall});
    for (const QString& list : {xps, xps + ",5", "5," + xps, "5," + xps + ",7"}) {
        Exec("UPDATE BoundingStructure SET TIdS = ? WHERE BSCId = ?", {list, m_NorthWall});
        CTQUiService::Instance().ClearRecords();
        CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
        EXPECT_EQ(DeleteMaterial(m_Xps, message), 5) << list.toStdString();
        ExpectShown("围护结构 [保温墙] - [北方保温墙] 用到了该材质！", QMessageBox::Warning);
        EXPECT_EQ(CTQUiService::Instance().ShownMessages().size(), 1);
    }
    EXPECT_TRUE(RowExists("Timbering", m_Xps));
}

TEST_F(DeletionSafetyTest, ATypeGoesWithItsConstructionsLayersAndPictures)
{
    // A deleted construction's picture goes: a new one of the same name shows none.
    const QString brick370 = MakePicture(m_Brick, m_Brick370);
    QString message;
    CTQBSCode code;
    code.SetID(m_Brick370);
    ASSERT_EQ(m_Admin.DeleteBSCode(code, message), 0);
    EXPECT_FALSE(QFile::exists(brick370));
    const int again = AddCode("370砖墙", m_Brick, 0, 0);
    CTQBSType type;
    CTQBSCode newer;
    ASSERT_TRUE(type.ReadData(m_Brick, nullptr) && newer.ReadData(again, nullptr));
    EXPECT_FALSE(QFile::exists(m_Admin.GetBSDemoBMPPath(type, newer)));

    // A picture that a construction of the same name still shows stays.
    const int beijing = AddCode("370砖墙", m_Brick, m_Beijing, 0);
    MakePicture(m_Brick, again);
    code.SetID(beijing);
    ASSERT_EQ(m_Admin.DeleteBSCode(code, message), 0);
    EXPECT_TRUE(QFile::exists(brick370));

    const int third = AddCode("490砖墙", m_Brick, m_Beijing, 0);
    AddLayers(third, QString::number(m_Clay), "490", "1");
    const QString brick240 = MakePicture(m_Brick, m_Brick240);
    ASSERT_EQ(m_Admin.DeleteBSType(type), 1);
    for (int id : {m_Brick240, again, third})
        EXPECT_FALSE(RowExists("BSCode", id));
    EXPECT_FALSE(RowExists("BSType", m_Brick));
    EXPECT_EQ(CountRows("BoundingStructure"), 0);
    EXPECT_TRUE(RowExists("BSDaLei", m_Wall)) << "the category stays";
    EXPECT_TRUE(RowExists("BSCode", m_RoofA));
    EXPECT_FALSE(QFile::exists(brick240));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(brick240).absolutePath()));
    EXPECT_TRUE(QFileInfo::exists(CTQUserWork::GetUserWork()->GetWallBmpDir())) << "the picture folder stays";
}

TEST_F(DeletionSafetyTest, AMaterialTypeWithAnyMaterialIsKept)
{
    // 保温 holds only province materials, which the national tree does not show.
    CTQTimberingType type;
    type.SetID(m_InsulationType);
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    EXPECT_EQ(m_Admin.DeleteTimberingType(type), 0);
    ExpectShown("请先删除该分类下的材质！", QMessageBox::NoIcon);
    EXPECT_TRUE(RowExists("TimberingType", m_InsulationType));
    type.SetID(AddMaterialType("空分类"));
    EXPECT_EQ(m_Admin.DeleteTimberingType(type), 1);
    EXPECT_FALSE(RowExists("TimberingType", type.GetID()));
}

// Both names are made file names that stay inside their folder and never share a file
// (TQPicturePathTest has every case of the mapping).
TEST_F(DeletionSafetyTest, PicturePathsEncodeBothNames)
{
    CTQEnviroment::GetEnviroment()->SetDataDir(m_Folder.filePath("share"));
    CTQBSType type;
    CTQBSCode code;
    std::tie(type.Name, code.Name) = std::tuple("砖墙/a", "..");
    EXPECT_EQ(m_Admin.GetBSDemoBMPPath(type, code), CTQUserWork::GetUserWork()->GetWallBmpDir() + "砖墙%002Fa/%002E..jpg");
    EXPECT_EQ(m_Admin.GetBSTDemoBMPPath(type), CTQEnviroment::GetEnviroment()->GetWallBmpDir() + "砖墙%002Fa.jpg");
    CTQEnviroment::GetEnviroment()->SetDataDir({});
}
