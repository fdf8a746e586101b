#include "ui/library/CTqUiBSProfileDlg.h"

#include "DialogFixture.h"
#include "library/CTQBSCondensation.h"
#include "library/CTQTimberingVapour.h"
#include "ui/editor/CTqUiBSInfoDlg.h"

#include <QDoubleSpinBox>
#include <QLabel>

namespace {

/// 240砖墙 of the fixture (20 水泥砂浆, 240 黏土砖, 20 水泥砂浆, outside to inside) with the μ of the
/// GB 50176 table for 水泥砂浆 (0.000021) and brick masonry (0.000105).
class CTqUiBSProfileDlgTest : public DialogFixture
{
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ASSERT_TRUE(CTQTimberingVapour::Write(m_Mortar, 0.000021));
        ASSERT_TRUE(CTQTimberingVapour::Write(m_Clay, 0.000105));
    }
    static QString Verdict(QWidget& dialog) { return Find<QLabel>(dialog, "verdictLabel")->text(); }
};

// From the library dialog: at 18 °C / 60 % and −10 °C / 80 % (the defaults of a national construction)
// vapour passes the brick faster than the outer mortar lets it out: 207.5 + 1030·952/4190 = 442 Pa behind
// the outer mortar against Ps(−6.4 °C) ≈ 356 Pa. A mild winter (+10 °C outside) ends it, and the
// conditions typed are kept for the next check.
TEST_F(CTqUiBSProfileDlgTest, LibraryDialogShowsTheVerdictAndKeepsTheConditions)
{
    auto library = OpenOnCode(m_Brick240);
    TestHelpers::RunModal<CTqUiBSProfileDlg>(
        [&] {
            Click(*library, "profileButton");
            return 0;
        },
        [](CTqUiBSProfileDlg& dialog) {
            EXPECT_EQ(dialog.GetResult().planes.size(), 4u);
            EXPECT_TRUE(Verdict(dialog).contains(QStringLiteral("内部冷凝：第1层与第2层之间")))
                << Verdict(dialog).toStdString();
            Find<QDoubleSpinBox>(dialog, "outdoorTemperatureBox")->setValue(10.0);
            EXPECT_TRUE(Verdict(dialog).contains(QStringLiteral("内部不冷凝")));
            EXPECT_TRUE(Verdict(dialog).contains(QStringLiteral("内表面不结露")));
            dialog.reject();
        });
    EXPECT_EQ(CTQBSCondensation::GetConditions(0).outdoorTemperature, 10.0);
    EXPECT_EQ(CTQBSCondensation::GetConditions(0).indoorHumidity, 60.0);
}

// From the editor, on the layers in its grid: a layer whose material has no μ gives no verdict.
TEST_F(CTqUiBSProfileDlgTest, EditorNamesTheLayerWithoutVapourData)
{
    ASSERT_TRUE(CTQTimberingVapour::Write(m_Clay, std::nan("")));
    auto editor = std::make_unique<CTqUiBSInfoDlg>();
    editor->m_nMode = 2;
    editor->m_CrXs = CallerCrXs();
    editor->m_Code.ReadData(m_Brick240, nullptr);
    editor->m_Type.ReadData(editor->m_Code.BSTId, nullptr);
    editor->m_Category.ReadData(editor->m_Type.BSDLId, nullptr);
    m_Admin.GetBS(editor->m_BoundingStructure, m_Brick240);
    Show(*editor);
    TestHelpers::RunModal<CTqUiBSProfileDlg>(
        [&] {
            Click(*editor, "profileButton");
            return 0;
        },
        [](CTqUiBSProfileDlg& dialog) {
            EXPECT_EQ(dialog.GetResult().interstitial, thermal::InterstitialVerdict::NoVapourData);
            EXPECT_TRUE(Verdict(dialog).contains(QStringLiteral("无法判断：第2层 黏土砖 无蒸汽渗透系数")))
                << Verdict(dialog).toStdString();
            dialog.reject();
        });
}

} // namespace
