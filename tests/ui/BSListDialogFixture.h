#pragma once

#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/CPictureCtrl.h"
#include "host/core/CTQEnviroment.h"
#include "host/core/CTQUserWork.h"
#include "host/ui/CTqUiPropertyGrid.h"
#include "host/ui/CTqUiReportControl.h"
#include "library/ManagerFixture.h"
#include "support/QtTestHelpers.h"
#include "ui/library/CTqUiBSListDlg.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include <memory>

/// The small library of ManagerFixture, a picture folder of the installation of its own, and
/// helpers that read and drive the construction library dialog's controls.
///
/// 240砖墙 (砖墙, national, common) has three layers, outside to inside: 20 mm 水泥砂浆
/// (λ 0.93, ρ 1800, c 1.05), 240 mm 黏土砖 (λ 0.81, ρ 1800, c 1.05), 20 mm 水泥砂浆; factors 1.
class BSListDialogFixture : public ManagerFixture
{
protected:
    void SetUp() override
    {
        ManagerFixture::SetUp();
        CTQEnviroment::GetEnviroment()->SetDataDir(m_Folder.filePath(QStringLiteral("data")));
        ASSERT_TRUE(QDir().mkpath(CTQEnviroment::GetEnviroment()->GetWallBmpDir()));
    }

    void TearDown() override
    {
        CTQEnviroment::GetEnviroment()->SetDataDir({});
        ManagerFixture::TearDown();
    }

    static CTQUiService& Service() { return CTQUiService::Instance(); }

    /// The surface coefficients the host's wall is evaluated with in these tests, W/(m²·K):
    /// summer outer 15, winter outer 25, inner 8 (not the GB 50176 defaults 19, 23, 8.7, so a
    /// list evaluated with the defaults shows other figures).
    static CTQCrXs CallerCrXs() { return CTQCrXs(15.0, 25.0, 8.0); }

    /// A dialog with the caller's coefficients and construction `codeId` preset as the entry
    /// function presets it, shown.
    std::unique_ptr<CTqUiBSListDlg> OpenOnCode(int codeId)
    {
        auto dialog = std::make_unique<CTqUiBSListDlg>(CallerCrXs());
        dialog->m_Code.SetID(codeId);
        dialog->m_WallData.m_nBSCId = codeId;
        Show(*dialog);
        return dialog;
    }

    static void Show(QWidget& dialog) { TestHelpers::Show(dialog); }

    static CMutiTreeCtrl* Tree(QWidget& dialog) { return dialog.findChild<CMutiTreeCtrl*>("bsTree"); }
    static CTqUiReportControl* List(QWidget& dialog) { return dialog.findChild<CTqUiReportControl*>("bsList"); }
    static CTqUiReportControl* Layers(QWidget& dialog) { return dialog.findChild<CTqUiReportControl*>("layerGrid"); }
    static CPictureCtrl* Picture(QWidget& dialog) { return dialog.findChild<CPictureCtrl*>("bsDemoPicture"); }
    static QPushButton* Button(QWidget& dialog, const char* name) { return dialog.findChild<QPushButton*>(name); }

    /// The tree's current item as a caption path; the item of a path, or null; a click on it.
    static QStringList CurrentTreePath(QWidget& dialog) { return TestHelpers::CurrentTreePath(*Tree(dialog)); }
    static QTreeWidgetItem* TreeItem(QWidget& dialog, const QStringList& path)
    {
        return TestHelpers::FindTreeItem(*Tree(dialog), path);
    }
    static void ClickTreeItem(QWidget& dialog, const QStringList& path)
    {
        TestHelpers::ClickTreeItem(*Tree(dialog), path);
    }

    /// Cell texts of every row.
    static QList<QStringList> Rows(const CTqUiReportControl& grid)
    {
        QList<QStringList> rows;
        for (int row = 0; row < grid.RowCount(); ++row)
            rows.append(grid.GetRowTexts(row));
        return rows;
    }

    /// The first cell of every row.
    static QStringList Names(const CTqUiReportControl& grid)
    {
        QStringList names;
        for (int row = 0; row < grid.RowCount(); ++row)
            names.append(grid.GetCellText(row, 0));
        return names;
    }

    static void ClickRow(CTqUiReportControl& grid, int row)
    {
        grid.scrollToItem(grid.topLevelItem(row));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                          TestHelpers::CellCenter(grid, grid.topLevelItem(row), 0));
    }

    /// Opens the construction list's context menu on a row (-1: below the rows), lists what it offers
    /// ("-" for a separator, "(off)" after a disabled item) and chooses `choice`, or closes it.
    static QStringList ChooseFromListMenu(QWidget& dialog, int row, const QString& choice = {})
    {
        CTqUiReportControl& grid = *List(dialog);
        const QPoint at = row >= 0 ? TestHelpers::CellCenter(grid, grid.topLevelItem(row), 0)
                                   : QPoint(5, grid.viewport()->height() - 5);
        QStringList offered;
        for (const auto& [text, bEnabled] : TestHelpers::ChooseFromContextMenu(grid.viewport(), at, choice))
            offered.append(bEnabled ? text : text + QStringLiteral("(off)"));
        return offered;
    }

    /// Types the type and construction names into the construction editor's parameter grid.
    static void SetEditorNames(QWidget& editor, const QString& type, const QString& name)
    {
        auto* grid = editor.findChild<CTqUiPropertyGrid*>(QStringLiteral("propertyGrid"));
        grid->SetRowValue(grid->FindRow(QStringLiteral("类型")), type);
        grid->SetRowValue(grid->FindRow(QStringLiteral("名称")), name);
    }

    /// A picture of one colour in the installed folder (the type's) or the user's (a construction's).
    static void WritePicture(const QString& path, const QColor& colour, QSize size = QSize(60, 40))
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path)) << path.toStdString();
    }
    QString TypePicturePath(const QString& typeName) const
    {
        return CTQEnviroment::GetEnviroment()->GetWallBmpDir() + typeName + QStringLiteral(".jpg");
    }
    QString CodePicturePath(const QString& typeName, const QString& codeName) const
    {
        return CTQUserWork::GetUserWork()->GetWallBmpDir() + typeName + QLatin1Char('/') + codeName +
               QStringLiteral(".jpg");
    }

    /// The colour at the middle of the picture area as it is drawn.
    static QColor ShownColour(CPictureCtrl& picture)
    {
        const QImage drawn = picture.grab().toImage();
        return drawn.pixelColor(drawn.width() / 2, drawn.height() / 2);
    }
};
