#include "ui/library/TQBSEntry.h"

#include "BSListDialogFixture.h"
#include "host/core/CTQContextResourceOverride.h"
#include "host/walldata/CTQWallData.h"

#include <functional>

namespace {

/// The entry functions run the dialog modally; each test answers it with a lambda that drives the
/// real controls and then presses a button.
class TQBSEntryTest : public BSListDialogFixture
{
protected:
    /// Runs the entry function `call` and answers the dialog it opens with `act`.
    template <class Call> auto Run(Call call, std::function<void(CTqUiBSListDlg&)> act)
    {
        return TestHelpers::RunModal<CTqUiBSListDlg>(call, [this, act = std::move(act)](CTqUiBSListDlg& dialog) {
            m_bResourcesTaken = CTQContextResourceOverride::CurrentModule() != nullptr;
            act(dialog);
        });
    }

    /// The host's wall: its own surface coefficients and a construction of its own, evaluated.
    static CTQWallData HostWall()
    {
        CTQWallData wall;
        const CTQCrXs crxs = CallerCrXs();
        wall.SetNHrXsData(crxs.m_dNHrXs, 0);
        wall.SetWHrXsData(crxs.m_dWHrXs, 0);
        wall.SetDjWHrXsData(crxs.m_dDjWHrXs, 0);
        CTQTimberingData concrete;
        concrete.SetStuffID(4711);
        concrete.SetStuffName(QStringLiteral("钢筋混凝土"));
        concrete.SetGMD(2500);
        concrete.SetDrXs(1.74);
        concrete.SetBRr(0.92);
        concrete.SetThick(0.2);
        concrete.SetDrXsXz(1.0);
        CTQArray<CTQTimberingData> layers;
        layers.Add(concrete);
        wall.SetTimbering(layers, 0);
        wall.Cal(1);
        wall.Cal(0);
        wall.m_nBSCId = 77;
        wall.m_strBSCName = QStringLiteral("原有墙体");
        return wall;
    }

    /// What the host sees of its wall: construction, layers, surface coefficients and results.
    static QVariantList Figures(const CTQWallData& wall)
    {
        QVariantList figures{wall.m_strBSCName,     wall.m_nBSCId,  wall.GetNHrXsData(), wall.GetWHrXsData(),
                             wall.GetDjWHrXsData(), wall.GetCrXs(), wall.GetDjCrXs(),    wall.GetNCrXs(),
                             wall.GetSj(),          wall.GetYc()};
        for (const CTQTimberingData& layer : wall.GetTimbering())
            figures << layer.GetStuffID() << layer.GetThick();
        return figures;
    }

    bool m_bResourcesTaken = false;
};

TEST_F(TQBSEntryTest, OkHandsTheChosenConstructionToTheHostsWall)
{
    CTQWallData wall = HostWall();
    EXPECT_EQ(Run([&] { return TQLoad::ShowBSDlgByBSCId(m_Brick370, wall); },
                  [](CTqUiBSListDlg& dialog) {
                      ClickRow(*List(dialog), 0); // 240砖墙; the dialog opened on 370砖墙
                      QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton);
                  }),
              1);
    EXPECT_TRUE(m_bResourcesTaken);
    EXPECT_EQ(CTQContextResourceOverride::CurrentModule(), nullptr);

    EXPECT_EQ(wall.m_strBSCName, QStringLiteral("240砖墙"));
    EXPECT_EQ(wall.m_nBSCId, m_Brick240);
    const CTQArray<CTQTimberingData>& layers = wall.GetTimbering();
    ASSERT_EQ(layers.GetSize(), 3);
    EXPECT_EQ(layers[1].GetStuffName(), QStringLiteral("黏土砖"));
    EXPECT_DOUBLE_EQ(layers[1].GetThick(), 0.24);
    EXPECT_EQ(wall.m_WallCharacter.GetTimberingData().GetSize(), 3);
    // Evaluated with the host's own coefficients; figures worked by hand in CTqUiBSListDlgTest.
    EXPECT_NEAR(wall.GetCrXs(), 1.883, 0.001);
    EXPECT_NEAR(wall.GetDjCrXs(), 1.983, 0.001);
    EXPECT_NEAR(wall.GetNCrXs(), 1.697, 0.001);
    EXPECT_NEAR(wall.GetSj(), 17.35, 0.01);
    EXPECT_NEAR(wall.GetYc(), 9.74, 0.01);
    EXPECT_EQ(wall.GetNHrXsData(), 8.0);
    EXPECT_EQ(wall.GetWHrXsData(), 15.0);
    EXPECT_EQ(wall.GetDjWHrXsData(), 25.0);
}

TEST_F(TQBSEntryTest, CancelLeavesTheHostsWallAsItWas)
{
    const CTQWallData before = HostWall();
    CTQWallData wall = before;
    EXPECT_EQ(Run([&] { return TQLoad::ShowBSDlgByBSCId(m_Brick240, wall); },
                  [](CTqUiBSListDlg& dialog) {
                      ClickRow(*List(dialog), 1); // a choice, then Cancel
                      QTest::mouseClick(Button(dialog, "cancelButton"), Qt::LeftButton);
                  }),
              0);
    EXPECT_EQ(Figures(wall), Figures(before));
}

TEST_F(TQBSEntryTest, ExOpensOnTheCategoryOrTheStoredConstruction)
{
    CTQWallData wall = HostWall();
    QStringList path;
    int rows = -1;
    EXPECT_EQ(Run([&] { return TQLoad::ShowBSDlgByBSCIdEx(0, wall, m_Roof); },
                  [&path, &rows](CTqUiBSListDlg& dialog) {
                      path = CurrentTreePath(dialog);
                      rows = List(dialog)->RowCount();
                      dialog.reject();
                  }),
              0);
    EXPECT_EQ(path, (QStringList{"所有围护结构", "屋面"}));
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(wall.m_nBSCId, 77);

    // With a stored construction it opens on that one, and OK hands it back.
    EXPECT_EQ(Run([&] { return TQLoad::ShowBSDlgByBSCIdEx(m_NorthWall, wall, m_Wall); },
                  [](CTqUiBSListDlg& dialog) { QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton); }),
              1);
    EXPECT_EQ(wall.m_strBSCName, QStringLiteral("北方保温墙"));
    EXPECT_EQ(wall.m_nBSCId, m_NorthWall);
    EXPECT_EQ(wall.GetTimbering().GetSize(), 0) << "北方保温墙 has no layer set";
}

TEST_F(TQBSEntryTest, BrowsingOpensOnAllConstructionsWhateverTheNames)
{
    QStringList path;
    Service().QueueAnswer(QMessageBox::Ok);
    Run([] { TQLoad::ShowBSDlg(QStringLiteral("砖墙"), QStringLiteral("240砖墙")); },
        [&path](CTqUiBSListDlg& dialog) {
            path = CurrentTreePath(dialog);
            // Nothing is chosen, so OK asks for a choice; Cancel closes.
            QTest::mouseClick(Button(dialog, "okButton"), Qt::LeftButton);
            QTest::mouseClick(Button(dialog, "cancelButton"), Qt::LeftButton);
        });
    EXPECT_EQ(path, QStringList{QStringLiteral("所有围护结构")});
    ASSERT_EQ(Service().ShownMessages().size(), 1);
    EXPECT_EQ(Service().ShownMessages().front().text, QStringLiteral("请选择一种围护结构！"));

    EXPECT_EQ(Run([] { return TQLoad::ShowBSDlg(); }, [](CTqUiBSListDlg& dialog) { dialog.reject(); }), 1);
}

} // namespace
