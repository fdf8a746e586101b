#include "ui/materials/TQTimbEntry.h"

#include "StuffDialogFixture.h"
#include "host/core/CTQContextResourceOverride.h"

namespace {

/// The entry functions run the dialog modally; each test answers it with a lambda that drives the
/// real controls and then presses a button.
class TQTimbEntryTest : public StuffDialogFixture
{
protected:
    /// Runs the entry function `call` and answers the dialog it opens with `act`.
    template <class Call> auto Run(Call call, std::function<void(CTqUiStuffListDlg&)> act)
    {
        return TestHelpers::RunModal<CTqUiStuffListDlg>(call, [this, act = std::move(act)](CTqUiStuffListDlg& dialog) {
            m_bResourcesTaken = CTQContextResourceOverride::CurrentModule() != nullptr;
            m_Path = CurrentTreePath(dialog);
            act(dialog);
        });
    }

    /// The host's material data before the call.
    static CTQMateralData HostMaterial()
    {
        CTQMateralData material;
        material.SetStuffID(4711);
        material.SetStuffName(QStringLiteral("原有材质"));
        material.SetGMD(2500);
        material.SetDrXs(1.74);
        material.SetBRr(0.92);
        material.SetCommonFlag(1);
        material.SetProvinceID(7);
        return material;
    }

    bool m_bResourcesTaken = false;
    QStringList m_Path;
};

TEST_F(TQTimbEntryTest, ByIdOpensOnTheMaterialAndOkHandsBackExactlyItsValues)
{
    Exec(QStringLiteral("UPDATE Timbering SET DrXs = ?, GMD = ? WHERE ID = ?"), {0.03125, 32.5, m_Eps});
    CTQMateralData material = HostMaterial();
    EXPECT_EQ(Run([&] { return TQLoad::ShowTimberingDlgById(m_Eps, material); },
                  [](CTqUiStuffListDlg& dialog) { QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton); }),
              1);
    EXPECT_TRUE(m_bResourcesTaken);
    EXPECT_EQ(CTQContextResourceOverride::CurrentModule(), nullptr);
    EXPECT_EQ(m_Path, (QStringList{QStringLiteral("所有省份"), QStringLiteral("黑龙江省"), QStringLiteral("保温"),
                                   QStringLiteral("EPS板")}));
    EXPECT_EQ(material.GetStuffName(), QStringLiteral("EPS板"));
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
    EXPECT_EQ(Run([&] { return TQLoad::ShowTimberingDlgById(m_Mortar, material); },
                  [](CTqUiStuffListDlg& dialog) {
                      SelectTreeItem(dialog, {QStringLiteral("所有材质"), QStringLiteral("砌体"), QStringLiteral("黏土砖")});
                      QTest::mouseClick(Button(dialog, "cancelButton"), Qt::LeftButton);
                  }),
              0);
    EXPECT_EQ(m_Path, (QStringList{QStringLiteral("所有材质"), QStringLiteral("砂浆"), QStringLiteral("水泥砂浆")}));
    EXPECT_TRUE(material.EqualData(HostMaterial()));

    for (const char* button : {"okButton", "cancelButton"}) {
        EXPECT_EQ(Run([] { return TQLoad::ShowTimberingDlg(); },
                      [button](CTqUiStuffListDlg& dialog) { QTest::mouseClick(Button(dialog, button), Qt::LeftButton); }),
                  1)
            << button;
        EXPECT_EQ(m_Path, QStringList{QStringLiteral("所有材质")});
    }
}

} // namespace
