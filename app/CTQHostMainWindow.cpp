#include "app/CTQHostMainWindow.h"

#include "host/ui/CTQUiService.h"
#include "host/core/TQString.h"
#include "ui/library/TQBSEntry.h"
#include "ui/materials/TQTimbEntry.h"

#include <QAction>
#include <QHeaderView>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>

#include <cmath>

namespace {

enum Column
{
    NameColumn,
    OuterSummerColumn,
    OuterWinterColumn,
    InnerColumn,
    ConstructionColumn,
    IdColumn,
    KSummerColumn,
    KWinterColumn,
    KInnerColumn,
    AttenuationColumn,
    DelayColumn,
    ColumnCount
};

const QStringList kHeaders{QStringLiteral("名称"),
                           QStringLiteral("外表面换热系数(夏)"),
                           QStringLiteral("外表面换热系数(冬)"),
                           QStringLiteral("内表面换热系数"),
                           QStringLiteral("围护结构"),
                           QStringLiteral("ID"),
                           QStringLiteral("传热系数(夏)(W/m^2·K)"),
                           QStringLiteral("传热系数(冬)(W/m^2·K)"),
                           QStringLiteral("传热系数(内)(W/m^2·K)"),
                           QStringLiteral("传热衰减"),
                           QStringLiteral("传热延迟(h)")};

const QString kProjectFilter = QStringLiteral("TQWall 项目 (*.tqwall.json *.json)");

QTableWidgetItem* ReadOnlyItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

CTQHostMainWindow::CTQHostMainWindow(QWidget* parent) : QMainWindow(parent)
{
    m_pTable = new QTableWidget(0, ColumnCount, this);
    m_pTable->setObjectName(QStringLiteral("wallTable"));
    m_pTable->setHorizontalHeaderLabels(kHeaders);
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    setCentralWidget(m_pTable);
    CreateActions();
    connect(m_pTable, &QTableWidget::cellChanged, this, &CTQHostMainWindow::OnCellChanged);
    connect(m_pTable, &QTableWidget::itemSelectionChanged, this, &CTQHostMainWindow::UpdateActions);
    connect(m_pTable, &QTableWidget::cellDoubleClicked, this, [this](int, int column) {
        if (column >= ConstructionColumn)
            ChooseConstruction();
    });
    resize(1380, 440);
    UpdateTitle();
    UpdateActions();
}

void CTQHostMainWindow::CreateActions()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
    file->addAction(QStringLiteral("新建(&N)"), QKeySequence::New, this, &CTQHostMainWindow::NewProject);
    file->addAction(QStringLiteral("打开(&O)…"), QKeySequence::Open, this, &CTQHostMainWindow::OpenProjectDialog);
    file->addAction(QStringLiteral("保存(&S)"), QKeySequence::Save, this, &CTQHostMainWindow::Save);
    file->addAction(QStringLiteral("另存为(&A)…"), QKeySequence::SaveAs, this, &CTQHostMainWindow::SaveAs);
    file->addSeparator();
    file->addAction(QStringLiteral("退出(&X)"), QKeySequence::Quit, this, &QWidget::close);

    QMenu* walls = menuBar()->addMenu(QStringLiteral("围护结构(&W)"));
    m_pChooseAction = walls->addAction(QStringLiteral("选择围护结构(&C)…"), this, &CTQHostMainWindow::ChooseConstruction);
    m_pChooseAction->setObjectName(QStringLiteral("chooseConstructionAction"));
    QAction* library = walls->addAction(QStringLiteral("围护结构库(&L)…"), this, &CTQHostMainWindow::OpenConstructionLibrary);
    library->setObjectName(QStringLiteral("constructionLibraryAction"));
    QAction* materials = walls->addAction(QStringLiteral("材质库(&M)…"), this, &CTQHostMainWindow::OpenMaterialLibrary);
    materials->setObjectName(QStringLiteral("materialLibraryAction"));
    walls->addSeparator();
    QAction* add = walls->addAction(QStringLiteral("添加墙(&A)"), this, &CTQHostMainWindow::AddWall);
    m_pRemoveAction = walls->addAction(QStringLiteral("删除墙(&D)"), this, &CTQHostMainWindow::RemoveWall);

    QToolBar* toolBar = addToolBar(QStringLiteral("围护结构"));
    toolBar->addAction(m_pChooseAction);
    toolBar->addAction(library);
    toolBar->addAction(add);
    toolBar->addAction(m_pRemoveAction);
}

void CTQHostMainWindow::SetProject(const CTQHostProject& project, const QString& path)
{
    m_Project = project;
    m_strPath = path;
    FillTable();
    UpdateTitle();
}

void CTQHostMainWindow::FillTable()
{
    m_bFilling = true;
    m_pTable->setRowCount(static_cast<int>(m_Project.walls.size()));
    for (int row = 0; row < m_pTable->rowCount(); ++row)
        FillRow(row);
    m_bFilling = false;
    if (m_pTable->rowCount() > 0 && m_pTable->selectedItems().isEmpty())
        m_pTable->selectRow(0);
    UpdateActions();
}

void CTQHostMainWindow::FillRow(int row)
{
    const bool filling = m_bFilling;
    m_bFilling = true;
    const CTQHostWall& hostWall = m_Project.walls[row];
    const CTQWallData& wall = hostWall.wall;
    const bool hasConstruction = wall.m_nBSCId > 0;
    m_pTable->setItem(row, NameColumn, new QTableWidgetItem(hostWall.name));
    m_pTable->setItem(row, OuterSummerColumn, new QTableWidgetItem(TQLoad::DblToStr(wall.GetWHrXsData(), 2)));
    m_pTable->setItem(row, OuterWinterColumn, new QTableWidgetItem(TQLoad::DblToStr(wall.GetDjWHrXsData(), 2)));
    m_pTable->setItem(row, InnerColumn, new QTableWidgetItem(TQLoad::DblToStr(wall.GetNHrXsData(), 2)));
    m_pTable->setItem(row, ConstructionColumn,
                      ReadOnlyItem(hasConstruction ? wall.m_strBSCName : QStringLiteral("（未选择）")));
    m_pTable->setItem(row, IdColumn, ReadOnlyItem(hasConstruction ? TQLoad::IntToStr(wall.m_nBSCId) : QString()));
    // A wall without construction and layers has no results to show (films alone are no wall).
    const bool hasResults = hasConstruction || !wall.GetTimbering().IsEmpty();
    auto result = [hasResults](double value, int decimals) {
        return ReadOnlyItem(hasResults ? TQLoad::DblToStr(value, decimals) : QString());
    };
    m_pTable->setItem(row, KSummerColumn, result(wall.GetCrXs(), 2));
    m_pTable->setItem(row, KWinterColumn, result(wall.GetDjCrXs(), 2));
    m_pTable->setItem(row, KInnerColumn, result(wall.GetNCrXs(), 2));
    m_pTable->setItem(row, AttenuationColumn, result(wall.GetSj(), 2));
    m_pTable->setItem(row, DelayColumn, result(wall.GetYc(), 1));
    m_bFilling = filling;
}

void CTQHostMainWindow::OnCellChanged(int row, int column)
{
    if (m_bFilling || row < 0 || row >= m_Project.walls.size())
        return;
    CTQHostWall& hostWall = m_Project.walls[row];
    const QString text = m_pTable->item(row, column)->text();
    if (column == NameColumn) {
        hostWall.name = text;
        return;
    }
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value <= 0.0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("表面换热系数应为大于0的数字！"), QMessageBox::Warning);
    } else if (column == OuterSummerColumn) {
        hostWall.wall.SetWHrXsData(value, 0);
    } else if (column == OuterWinterColumn) {
        hostWall.wall.SetDjWHrXsData(value, 0);
    } else if (column == InnerColumn) {
        hostWall.wall.SetNHrXsData(value, 0);
    }
    hostWall.wall.Cal(1);
    hostWall.wall.Cal(0);
    FillRow(row); // also puts back the old text of a refused value
}

static int SelectedRow(const QTableWidget* table)
{
    const QList<QTableWidgetSelectionRange> ranges = table->selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.front().topRow();
}

void CTQHostMainWindow::UpdateActions()
{
    const bool selected = SelectedRow(m_pTable) >= 0;
    m_pChooseAction->setEnabled(selected);
    m_pRemoveAction->setEnabled(selected);
}

void CTQHostMainWindow::UpdateTitle()
{
    const QString file = m_strPath.isEmpty() ? QStringLiteral("新项目") : m_strPath;
    setWindowTitle(QStringLiteral("TQWall - 围护结构 - %1").arg(file));
}

void CTQHostMainWindow::ChooseConstruction()
{
    const int row = SelectedRow(m_pTable);
    if (row < 0)
        return;
    CTQWallData& wall = m_Project.walls[row].wall;
    // The library evaluates with the wall's own coefficients and, on OK, fills the wall data.
    if (TQLoad::ShowBSDlgByBSCId(wall.m_nBSCId, wall) == 1) {
        wall.Cal(1);
        wall.Cal(0);
        FillRow(row);
        statusBar()->showMessage(QStringLiteral("%1：%2").arg(m_Project.walls[row].name, wall.m_strBSCName), 5000);
    }
}

void CTQHostMainWindow::OpenConstructionLibrary()
{
    TQLoad::ShowBSDlg();
}

void CTQHostMainWindow::OpenMaterialLibrary()
{
    TQLoad::ShowTimberingDlg();
}

void CTQHostMainWindow::NewProject()
{
    SetProject(CTQHostProject::MakeExample(), QString());
}

bool CTQHostMainWindow::OpenProject(const QString& path)
{
    CTQHostProject project;
    QString error;
    if (!project.Load(path, &error)) {
        CTQUiService::Instance().MessageBox(this, error, QMessageBox::Warning);
        return false;
    }
    SetProject(project, path);
    return true;
}

bool CTQHostMainWindow::SaveProject(const QString& path)
{
    QString error;
    if (!m_Project.Save(path, &error)) {
        CTQUiService::Instance().MessageBox(this, error, QMessageBox::Critical);
        return false;
    }
    m_strPath = path;
    UpdateTitle();
    statusBar()->showMessage(QStringLiteral("已保存 %1").arg(path), 5000);
    return true;
}

void CTQHostMainWindow::OpenProjectDialog()
{
    const QString path =
        CTQUiService::Instance().GetOpenFileName(this, QStringLiteral("打开项目"), QString(), kProjectFilter);
    if (!path.isEmpty())
        OpenProject(path);
}

void CTQHostMainWindow::Save()
{
    if (m_strPath.isEmpty())
        SaveAs();
    else
        SaveProject(m_strPath);
}

void CTQHostMainWindow::SaveAs()
{
    const QString path =
        CTQUiService::Instance().GetSaveFileName(this, QStringLiteral("保存项目"), m_strPath, kProjectFilter);
    if (!path.isEmpty())
        SaveProject(path);
}

void CTQHostMainWindow::AddWall()
{
    CTQHostWall hostWall;
    hostWall.name = QStringLiteral("墙%1").arg(m_Project.walls.size() + 1);
    hostWall.wall.Cal(1);
    hostWall.wall.Cal(0);
    m_Project.walls.append(hostWall);
    FillTable();
    m_pTable->selectRow(m_pTable->rowCount() - 1);
}

void CTQHostMainWindow::RemoveWall()
{
    const int row = SelectedRow(m_pTable);
    if (row < 0)
        return;
    const QString text = QStringLiteral("确定要删除墙 [%1] 吗？").arg(m_Project.walls[row].name);
    if (CTQUiService::Instance().MessageBox(this, text, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
                                            QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    m_Project.walls.removeAt(row);
    FillTable();
}
