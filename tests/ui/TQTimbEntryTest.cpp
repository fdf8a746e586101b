#include "ui/materials/TQTimbEntry.h"

#include "DialogFixture.h"
#include "ui/materials/CTqUiStuffListDlg.h"

namespace {

using TQTimbEntryTest = DialogFixture;

/// The host's material data before the call.
CTQMateralData HostMaterial()
{
    CTQMateralData material;
    material.SetStuffID(4711);
    material.SetStuffName("原有材质");
    material.SetGMD(2500);
    material.SetDrXs(1.74);
    material.SetBRr(0.92);
    material.SetCommonFlag(1);
    material.SetProvinceID(7);
    return material;
}

TEST_F(TQTimbEntryTest, ByIdOpensOnTheMaterialAndOkHandsBackExactlyItsValues)
{
    Exec("UPDATE Timbering SET DrXs = ?, GMD = ? WHERE ID = ?", {0.03125, 32.5, m_Eps});
    CTQMateralData material = HostMaterial();
    EXPECT_EQ(RunEntry<CTqUiStuffListDlg>([&] { return TQLoad::ShowTimberingDlgById(m_Eps, material); },
                                          [](CTqUiStuffListDlg& dialog) { Click(dialog, "okButton"); }),
              1);
    EXPECT_TRUE(m_bResourcesTaken);
    EXPECT_EQ(CTQContextResourceOverride::CurrentModule(), nullptr);
    EXPECT_EQ(m_OpenedOn, (QStringList{"所有省份", "黑龙江省", "保温", "EPS板"}));
    EXPECT_EQ(material.GetStuffName(), "EPS板");
    EXPECT_EQ(material.GetStuffID(), m_Eps);
    EXPECT_EQ(material.GetGMD(), 32.5);
    EXPECT_EQ(material.GetDrXs(), 0.03125);
    EXPECT_EQ(material.GetBRr(), 1.38);
    EXPECT_EQ(material.GetCommonFlag(), 0);
    EXPECT_EQ(material.GetProvinceID(), 7) << "the province is not handed over";
}

TEST_F(TQTimbEntryTest, CancelLeavesTheHostsMaterialAndBrowsingAlwaysReturnsOne)
{
    CTQMateralData material = HostMaterial();
    EXPECT_EQ(RunEntry<CTqUiStuffListDlg>([&] { return TQLoad::ShowTimberingDlgById(m_Mortar, material); },
                                          [](CTqUiStuffListDlg& dialog) {
                                              ClickTreeItem(dialog, {"所有材质", "砌体", "黏土砖"});
                                              Click(dialog, "cancelButton");
                                          }),
              0);
    EXPECT_EQ(m_OpenedOn, (QStringList{"所有材质", "砂浆", "水泥砂浆"}));
    EXPECT_TRUE(material.EqualData(HostMaterial()));

    for (const char* button : {"okButton", "cancelButton"}) {
        EXPECT_EQ(RunEntry<CTqUiStuffListDlg>([] { return TQLoad::ShowTimberingDlg(); },
                                              [button](CTqUiStuffListDlg& dialog) { Click(dialog, button); }),
                  1)
            << button;
        EXPECT_EQ(m_OpenedOn, QStringList{"所有材质"});
    }
}

} // namespace
