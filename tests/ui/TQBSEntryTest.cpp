#include "ui/library/TQBSEntry.h"

#include "DialogFixture.h"
#include "host/walldata/CTQWallData.h"

namespace {

/// The entry functions run the dialog modally; each test answers it with a lambda that drives the
/// real controls and then presses a button.
class TQBSEntryTest : public DialogFixture
{
protected:
    template <class Call> auto Run(Call call, std::function<void(CTqUiBSListDlg&)> act)
    {
        return RunEntry<CTqUiBSListDlg>(call, std::move(act));
    }

    /// The host's wall: its own surface coefficients and a construction of its own without layers.
    static CTQWallData HostWall()
    {
        CTQWallData wall;
        wall.SetNHrXsData(CallerCrXs().m_dNHrXs, 0);
        wall.SetWHrXsData(CallerCrXs().m_dWHrXs, 0);
        wall.SetDjWHrXsData(CallerCrXs().m_dDjWHrXs, 0);
        wall.Cal(1);
        wall.Cal(0);
        wall.m_nBSCId = 77;
        wall.m_strBSCName = "原有墙体";
        return wall;
    }
};

TEST_F(TQBSEntryTest, OkHandsTheChosenConstructionToTheHostsWallAndCancelNothing)
{
    CTQWallData wall = HostWall();
    EXPECT_EQ(Run([&] { return TQLoad::ShowBSDlgByBSCId(m_Brick240, wall); },
                  [](CTqUiBSListDlg& dialog) {
                      ClickRow(*List(dialog), 1); // a choice, then Cancel
                      Click(dialog, "cancelButton");
                  }),
              0);
    EXPECT_EQ(wall.m_strBSCName + QString::number(wall.m_nBSCId), "原有墙体77");

    EXPECT_EQ(Run([&] { return TQLoad::ShowBSDlgByBSCId(m_Brick370, wall); },
                  [](CTqUiBSListDlg& dialog) {
                      ClickRow(*List(dialog), 0); // 240砖墙; the dialog opened on 370砖墙
                      Click(dialog, "okButton");
                  }),
              1);
    EXPECT_TRUE(m_bResourcesTaken);
    EXPECT_EQ(CTQContextResourceOverride::CurrentModule(), nullptr);
    EXPECT_EQ(wall.m_strBSCName, "240砖墙");
    EXPECT_EQ(wall.m_nBSCId, m_Brick240);
    ASSERT_EQ(wall.GetTimbering().GetSize(), 3);
    EXPECT_EQ(wall.GetTimbering()[1].GetStuffName(), "黏土砖");
    EXPECT_DOUBLE_EQ(wall.GetTimbering()[1].GetThick(), 0.24);
    // Evaluated with the host's own coefficients; figures worked by hand in CTqUiBSListDlgTest.
    const double figures[] = {wall.GetNHrXsData(), wall.GetWHrXsData(), wall.GetDjWHrXsData(), wall.GetCrXs(),
                              wall.GetDjCrXs(),    wall.GetNCrXs(),     wall.GetSj(),          wall.GetYc()};
    const double expected[] = {8.0, 15.0, 25.0, 1.883, 1.983, 1.697, 17.35, 9.74};
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(figures[i], expected[i], 0.005) << "figure " << i;
}

TEST_F(TQBSEntryTest, ExOpensOnTheCategoryOrTheStoredConstructionAndBrowsingOnAll)
{
    CTQWallData wall = HostWall();
    int rows = -1;
    EXPECT_EQ(Run([&] { return TQLoad::ShowBSDlgByBSCIdEx(0, wall, m_Roof); },
                  [&rows](CTqUiBSListDlg& dialog) {
                      rows = List(dialog)->RowCount();
                      dialog.reject();
                  }),
              0);
    EXPECT_EQ(m_OpenedOn, (QStringList{"所有围护结构", "屋面"}));
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(wall.m_nBSCId, 77);

    // With a stored construction it opens on that one, and OK hands it back.
    EXPECT_EQ(Run([&] { return TQLoad::ShowBSDlgByBSCIdEx(m_NorthWall, wall, m_Wall); },
                  [](CTqUiBSListDlg& dialog) { Click(dialog, "okButton"); }),
              1);
    EXPECT_EQ(wall.m_strBSCName, "北方保温墙");
    EXPECT_EQ(wall.m_nBSCId, m_NorthWall);
    EXPECT_EQ(wall.GetTimbering().GetSize(), 0) << "北方保温墙 has no layer set";

    // Browsing opens on all constructions whatever the names, and always returns 1.
    Run([] { TQLoad::ShowBSDlg("砖墙", "240砖墙"); }, [](CTqUiBSListDlg& dialog) { Click(dialog, "cancelButton"); });
    EXPECT_EQ(m_OpenedOn, QStringList{"所有围护结构"});
    EXPECT_EQ(Run([] { return TQLoad::ShowBSDlg(); }, [](CTqUiBSListDlg& dialog) { dialog.reject(); }), 1);
}

} // namespace
