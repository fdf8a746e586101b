// The host's wall list: a wall's row after choosing its construction through the library dialog,
// the project file round trip and a refused coefficient.
#include "app/CTQHostMainWindow.h"
#include "ui/DialogFixture.h"
#include "ui/materials/CTqUiStuffListDlg.h"

#include <QAction>
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>

namespace {

// Columns of the wall list.
constexpr int Name = 0, Construction = 4, Id = 5, KSummer = 6, Delay = 10;

} // namespace

class HostMainWindowTest : public DialogFixture
{
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        CTQHostProject project;
        CTQHostWall wall;
        wall.name = QStringLiteral("南外墙"); // with the default films αe 19 / 23, αi 8.7
        project.walls.append(wall);
        m_Window.SetProject(project, QString());
        m_pTable = m_Window.findChild<QTableWidget*>(QStringLiteral("wallTable"));
        ASSERT_NE(m_pTable, nullptr);
        m_pTable->selectRow(0);
    }

    QString Cell(int column) const { return m_pTable->item(0, column)->text(); }

    CTQHostMainWindow m_Window;
    QTableWidget* m_pTable = nullptr;
};

TEST_F(HostMainWindowTest, ChoosingAConstructionFillsTheRow)
{
    EXPECT_EQ(Cell(Construction), "（未选择）");
    EXPECT_EQ(Cell(KSummer), QString()) << "a wall without construction shows no results";

    // Open on the brick type through a stored construction, pick 240砖墙 and confirm.
    CTQHostProject project = m_Window.GetProject();
    project.walls[0].wall.m_nBSCId = m_Brick370;
    m_Window.SetProject(project, QString());
    m_pTable->selectRow(0);
    TestHelpers::RunModal<CTqUiBSListDlg>([this] { m_Window.ChooseConstruction(); },
                                          [](CTqUiBSListDlg& dialog) {
                                              ClickRow(*List(dialog), 0);
                                              Click(dialog, "okButton");
                                          });
    EXPECT_EQ(Cell(Construction), "240砖墙");
    EXPECT_EQ(Cell(Id), QString::number(m_Brick240));
    // 20 mm mortar (λ 0.93), 240 mm brick (λ 0.81), 20 mm mortar: K = 1/(0.114943 + 0.339307 +
    // 0.052632) = 1.97.
    EXPECT_EQ(Cell(KSummer), "1.97");
    EXPECT_NE(Cell(Delay), "-");
    EXPECT_EQ(m_Window.GetProject().walls[0].wall.GetTimbering().GetSize(), 3);

    // The material menu opens the material library.
    TestHelpers::RunModal<CTqUiStuffListDlg>(
        [this] { m_Window.findChild<QAction*>(QStringLiteral("materialLibraryAction"))->trigger(); },
        [](CTqUiStuffListDlg& dialog) { dialog.close(); });
}

TEST_F(HostMainWindowTest, ProjectFileKeepsTheWallsAndTheirNumbers)
{
    CTQHostProject project = m_Window.GetProject();
    CTQBSCode code;
    ASSERT_TRUE(code.ReadData(m_Brick240, nullptr));
    project.walls[0].wall = m_Admin.GetBSCodeWallData(code, true, CTQCrXs(19.0, 23.0, 8.7));
    project.walls[0].name = QStringLiteral("南外墙 \"甲\"");
    const QString path = m_Folder.filePath(QStringLiteral("building.tqwall.json"));
    QString error;
    ASSERT_TRUE(project.Save(path, &error)) << error.toStdString();

    // The library changes afterwards; the project reads back its own layers and numbers.
    Exec(QStringLiteral("UPDATE Timbering SET DrXs = 5 WHERE ID = ?"), {m_Clay});
    ASSERT_TRUE(m_Window.OpenProject(path));
    const CTQHostWall& loaded = m_Window.GetProject().walls[0];
    EXPECT_EQ(loaded.name, project.walls[0].name);
    EXPECT_DOUBLE_EQ(loaded.wall.GetCrXs(), project.walls[0].wall.GetCrXs());
    EXPECT_EQ(Cell(Name), project.walls[0].name);

    // A file that is no project is refused with a message and loses nothing.
    QFile broken(m_Folder.filePath(QStringLiteral("broken.json")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("{\"format\": \"tqwall-project\", \"walls\": [{\"name\": 3}]}");
    broken.close();
    Service().QueueAnswer(QMessageBox::Ok);
    EXPECT_FALSE(m_Window.OpenProject(broken.fileName()));
    EXPECT_EQ(Service().ShownMessages().last().icon, QMessageBox::Warning);
    EXPECT_EQ(m_Window.GetProject().walls[0].name, project.walls[0].name);
}

TEST_F(HostMainWindowTest, RefusedCoefficientKeepsTheOldValue)
{
    Service().QueueAnswer(QMessageBox::Ok);
    m_pTable->item(0, 1)->setText("abc");
    EXPECT_EQ(MessagesShown(), QStringList{"表面换热系数应为大于0的数字！"});
    EXPECT_EQ(Cell(1), "19.00");

    // A wall of one 240 mm brick layer (λ 0.81): with αi 10, K = 1/(0.1 + 0.296296 + 0.052632) = 2.23.
    CTQBSCode code;
    ASSERT_TRUE(code.ReadData(m_Brick370, nullptr));
    CTQHostProject project = m_Window.GetProject();
    AddLayers(m_Brick370, QString::number(m_Clay), QStringLiteral("240"), QStringLiteral("1"));
    project.walls[0].wall = m_Admin.GetBSCodeWallData(code, true, CTQCrXs(19.0, 23.0, 8.7));
    m_Window.SetProject(project, QString());
    m_pTable->item(0, 3)->setText("10");
    EXPECT_DOUBLE_EQ(m_Window.GetProject().walls[0].wall.GetNHrXsData(), 10.0);
    EXPECT_EQ(Cell(KSummer), "2.23");
}

// At the default window size every header of the wall list reads whole.
TEST_F(HostMainWindowTest, EveryHeaderReadsWholeAtTheDefaultSize)
{
    m_Window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_Window));
    const QHeaderView& header = *m_pTable->horizontalHeader();
    const QFontMetrics metrics(header.font());
    const int margins = 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header);
    for (int col = 0; col < header.count(); ++col) {
        const QString text = m_pTable->horizontalHeaderItem(col)->text();
        EXPECT_GE(header.sectionSize(col), metrics.horizontalAdvance(text) + margins) << text.toStdString();
    }
}
