#include "host/ui/CTqUiPropertyGrid.h"

#include "support/QtPrinters.h"
#include "support/QtTestHelpers.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

struct Record
{
    QString Name;
};

class CTqUiPropertyGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_nBasic = m_grid.AddCategory(QStringLiteral("围护结构"));
        m_nProvince = m_grid.AddRow(m_nBasic, QStringLiteral("省份"), QStringLiteral("所有省份"));
        m_grid.SetRowReadOnly(m_nProvince, true);
        m_nName =
            m_grid.AddBoundRow(m_nBasic, QStringLiteral("名称"), &m_record.Name, QStringLiteral("指定围护结构名称"));
        m_nValues = m_grid.AddCategory(QStringLiteral("参数"));
        m_nDensity = m_grid.AddDoubleRow(m_nValues, QStringLiteral("干密度(kg/m^3)"), 1800.0);
        m_nConductivity =
            m_grid.AddDoubleRow(m_nValues, QStringLiteral("导热系数(W/m*K)"), 0.81, QStringLiteral("%0.3f"));
        m_grid.ExpandAll();
        m_grid.resize(320, 240);
        m_grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_grid));
        m_pTree = m_grid.findChild<QTreeWidget*>(QStringLiteral("propertyTree"));
        ASSERT_NE(m_pTree, nullptr);
    }

    bool TypeIntoRow(int row, const QString& text)
    {
        return TestHelpers::TypeIntoRow(*m_pTree, m_grid.GetRowCaption(row), text);
    }

    Record m_record{QStringLiteral("240砖墙")};
    CTqUiPropertyGrid m_grid;
    QTreeWidget* m_pTree = nullptr;
    int m_nBasic = -1, m_nValues = -1, m_nProvince = -1, m_nName = -1, m_nDensity = -1, m_nConductivity = -1;
};

TEST_F(CTqUiPropertyGridTest, EditsAreWrittenThroughInTheRowsFormatAndReadOnlyRowsRefuseThem)
{
    QSignalSpy changes(&m_grid, &CTqUiPropertyGrid::valueChanged);
    EXPECT_EQ(m_grid.GetRowValue(m_nName), QStringLiteral("240砖墙"));

    ASSERT_TRUE(TypeIntoRow(m_nName, QStringLiteral("Wall '%;--")));
    EXPECT_EQ(m_record.Name, QStringLiteral("Wall '%;--"));
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.at(0).at(0).toInt(), m_nName);

    EXPECT_FALSE(TypeIntoRow(m_nProvince, QStringLiteral("北京")));
    EXPECT_EQ(m_grid.GetRowValue(m_nProvince), QStringLiteral("所有省份"));
    EXPECT_EQ(changes.size(), 1);

    // Code that changes the record shows it again on request; SetRowValue writes through.
    m_record.Name = QStringLiteral("内墙");
    m_grid.RefreshBoundRows();
    EXPECT_EQ(m_grid.GetRowValue(m_nName), QStringLiteral("内墙"));
    m_grid.SetRowValue(m_nName, QStringLiteral("屋面"));
    EXPECT_EQ(m_record.Name, QStringLiteral("屋面"));
    EXPECT_EQ(changes.size(), 1);

    // Number rows keep their format and take only what makes a number.
    EXPECT_EQ(m_grid.GetRowValue(m_nDensity), QStringLiteral("1800"));
    EXPECT_EQ(m_grid.GetRowValue(m_nConductivity), QStringLiteral("0.810"));
    ASSERT_TRUE(TypeIntoRow(m_nConductivity, QStringLiteral("-0.0x4a5")));
    EXPECT_EQ(m_grid.GetRowValue(m_nConductivity), QStringLiteral("-0.045"));
    EXPECT_DOUBLE_EQ(m_grid.GetRowDouble(m_nConductivity), -0.045);
    m_grid.SetRowDouble(m_nConductivity, 1.5);
    EXPECT_EQ(m_grid.GetRowValue(m_nConductivity), QStringLiteral("1.500"));
}

TEST_F(CTqUiPropertyGridTest, SelectsRowsByCaptionAndShowsTheirDescription)
{
    m_grid.ExpandCategory(m_nBasic, false);
    ASSERT_TRUE(m_grid.SelectRow(QStringLiteral("名称")));
    EXPECT_EQ(m_grid.GetSelectedRow(), m_nName);
    EXPECT_TRUE(m_pTree->topLevelItem(0)->isExpanded());
    const auto* pane = m_grid.findChild<QLabel*>(QStringLiteral("propertyDescription"));
    ASSERT_NE(pane, nullptr);
    EXPECT_TRUE(pane->text().contains(QStringLiteral("指定围护结构名称")));

    EXPECT_FALSE(m_grid.SelectRow(QStringLiteral("类型")));
    EXPECT_EQ(m_grid.GetSelectedRow(), m_nName);
    EXPECT_EQ(m_grid.FindRow(QStringLiteral("名称"), m_nValues), -1);
    EXPECT_EQ(m_grid.FindRow(QStringLiteral("干密度(kg/m^3)"), m_nValues), m_nDensity);

    m_grid.ClearAll();
    EXPECT_EQ(m_grid.GetSelectedRow(), -1);
    EXPECT_EQ(m_grid.AddCategory(QStringLiteral("基本信息")), 0);
}

} // namespace
