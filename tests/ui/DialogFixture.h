#pragma once

#include "host/core/CTQContextResourceOverride.h"
#include "host/core/CTQEnviroment.h"
#include "host/core/CTQUserWork.h"
#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/CPictureCtrl.h"
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
/// helpers that drive the library's dialogs through their controls.
///
/// 240砖墙 (砖墙, national, common) has three layers, outside to inside: 20 mm 水泥砂浆
/// (λ 0.93, ρ 1800, c 1.05), 240 mm 黏土砖 (λ 0.81, ρ 1800, c 1.05), 20 mm 水泥砂浆; factors 1.
/// The material tree: "所有材质" 砂浆 [水泥砂浆], 砌体 [黏土砖]; "常用材质" 砂浆 [水泥砂浆], 保温
/// [XPS板]; "所有省份" 北京市 and 黑龙江省, each with 砂浆, 砌体 and 保温, under 黑龙江省's 保温 EPS板.
class DialogFixture : public ManagerFixture
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

    /// Forgets the boxes shown so far, each of which must have had its answer, and queues the
    /// answers to the next ones.
    static void Answer(std::initializer_list<QMessageBox::StandardButton> answers)
    {
        EXPECT_EQ(Service().UnexpectedCount() + Service().PendingAnswerCount(), 0);
        Service().ClearRecords();
        for (QMessageBox::StandardButton answer : answers)
            Service().QueueAnswer(answer);
    }

    /// The surface coefficients the host's wall is evaluated with in these tests, W/(m²·K):
    /// summer outer 15, winter outer 25, inner 8 (not the GB 50176 defaults 19, 23, 8.7, so a
    /// list evaluated with the defaults shows other figures).
    static CTQCrXs CallerCrXs() { return CTQCrXs(15.0, 25.0, 8.0); }

    /// A construction library dialog with the caller's coefficients and construction `codeId`
    /// preset as the entry function presets it, shown.
    std::unique_ptr<CTqUiBSListDlg> OpenOnCode(int codeId)
    {
        auto dialog = std::make_unique<CTqUiBSListDlg>(CallerCrXs());
        dialog->m_Code.SetID(codeId);
        dialog->m_WallData.m_nBSCId = codeId;
        Show(*dialog);
        return dialog;
    }

    /// Runs an entry function that opens `Dialog` modally and answers it with `act`; notes whether
    /// the library's resources were taken while it ran and where its tree opened.
    template <class Dialog, class Call> auto RunEntry(Call call, std::function<void(Dialog&)> act)
    {
        return TestHelpers::RunModal<Dialog>(call, [this, act = std::move(act)](Dialog& dialog) {
            m_bResourcesTaken = CTQContextResourceOverride::CurrentModule() != nullptr;
            m_OpenedOn = CurrentTreePath(dialog);
            act(dialog);
        });
    }
    bool m_bResourcesTaken = false;
    QStringList m_OpenedOn;

    /// Shows a window and waits until it is on the screen.
    static void Show(QWidget& window)
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <class Widget = QWidget> static Widget* Find(QWidget& dialog, const char* name)
    {
        return dialog.findChild<Widget*>(QString::fromLatin1(name));
    }
    static QPushButton* Button(QWidget& dialog, const char* name) { return Find<QPushButton>(dialog, name); }
    static void Click(QWidget& dialog, const char* button)
    {
        QTest::mouseClick(Button(dialog, button), Qt::LeftButton);
    }
    static CTqUiReportControl* List(QWidget& dialog) { return Find<CTqUiReportControl>(dialog, "bsList"); }
    static CTqUiReportControl* Layers(QWidget& dialog) { return Find<CTqUiReportControl>(dialog, "layerGrid"); }
    static CPictureCtrl* Picture(QWidget& dialog) { return Find<CPictureCtrl>(dialog, "bsDemoPicture"); }
    /// The dialog's one tree (constructions or materials) and its one parameter grid.
    static CMutiTreeCtrl* Tree(QWidget& dialog) { return dialog.findChild<CMutiTreeCtrl*>(); }
    static CTqUiPropertyGrid* Grid(QWidget& dialog) { return dialog.findChild<CTqUiPropertyGrid*>(); }

    /// Captions from the top-level item down to the tree's current item.
    static QStringList CurrentTreePath(QWidget& dialog)
    {
        QStringList path;
        for (const QTreeWidgetItem* item = Tree(dialog)->currentItem(); item != nullptr; item = item->parent())
            path.prepend(item->text(0));
        return path;
    }

    /// The tree item at the end of a caption path from the top level, or null.
    static QTreeWidgetItem* TreeItem(QWidget& dialog, const QStringList& path)
    {
        QTreeWidgetItem* found = Tree(dialog)->invisibleRootItem();
        for (int depth = 0; found != nullptr && depth < path.size(); ++depth) {
            QTreeWidgetItem* parent = found;
            found = nullptr;
            for (int i = 0; i < parent->childCount() && found == nullptr; ++i)
                found = parent->child(i)->text(0) == path[depth] ? parent->child(i) : nullptr;
        }
        return found;
    }

    /// Opens the branches down to the item at the end of `path` as the user does with the expand
    /// buttons, then clicks it; fails the test when there is no such item or it did not become current.
    static void ClickTreeItem(QWidget& dialog, const QStringList& path)
    {
        QTreeWidgetItem* item = TreeItem(dialog, path);
        ASSERT_NE(item, nullptr) << path.join(QLatin1Char('/')).toStdString();
        for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent())
            up->setExpanded(true);
        CMutiTreeCtrl& tree = *Tree(dialog);
        tree.scrollToItem(item);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
        ASSERT_EQ(tree.currentItem(), item);
    }

    /// Opens the context menu of `item` (null: below the rows), lists what it offers ("-" for a
    /// separator, "(off)" after a disabled item) and chooses `choice`, or closes it.
    static QStringList ChooseFromMenu(QTreeWidget& view, const QTreeWidgetItem* item, const QString& choice = {})
    {
        const QPoint at =
            item != nullptr ? TestHelpers::CellCenter(view, item, 0) : QPoint(5, view.viewport()->height() - 5);
        QStringList offered;
        for (const auto& [text, bEnabled] : TestHelpers::ChooseFromContextMenu(view.viewport(), at, choice))
            offered.append(bEnabled ? text : text + QStringLiteral("(off)"));
        return offered;
    }
    static QStringList ChooseFromListMenu(QWidget& dialog, int row, const QString& choice = {})
    {
        return ChooseFromMenu(*List(dialog), row >= 0 ? List(dialog)->topLevelItem(row) : nullptr, choice);
    }

    /// Cell texts of every row, and the first cell of every row.
    static QList<QStringList> Rows(const CTqUiReportControl& grid)
    {
        QList<QStringList> rows;
        for (int row = 0; row < grid.RowCount(); ++row)
            rows.append(grid.GetRowTexts(row));
        return rows;
    }
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

    /// The value of a parameter grid row; a value set as the construction editor takes it.
    static QString GridValue(QWidget& dialog, const QString& caption)
    {
        return Grid(dialog)->GetRowValue(Grid(dialog)->FindRow(caption));
    }
    static void SetEditorNames(QWidget& editor, const QString& type, const QString& name)
    {
        Grid(editor)->SetRowValue(Grid(editor)->FindRow(QStringLiteral("类型")), type);
        Grid(editor)->SetRowValue(Grid(editor)->FindRow(QStringLiteral("名称")), name);
    }

    /// Types `text` into the parameter grid row captioned `caption`, as the user does.
    static void TypeIntoRow(QWidget& dialog, const QString& caption, const QString& text)
    {
        auto* tree = Grid(dialog)->findChild<QTreeWidget*>(QStringLiteral("propertyTree"));
        ASSERT_TRUE(TestHelpers::TypeIntoRow(*tree, caption, text)) << "no editor on " << caption.toStdString();
    }

    /// A picture of one colour in the installed folder (the type's) or the user's (a construction's).
    static void WritePicture(const QString& path, const QColor& colour)
    {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QImage image(QSize(60, 40), QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path)) << path.toStdString();
    }
    static QString TypePicturePath(const QString& typeName)
    {
        return CTQEnviroment::GetEnviroment()->GetWallBmpDir() + typeName + QStringLiteral(".jpg");
    }
    static QString CodePicturePath(const QString& typeName, const QString& codeName)
    {
        return CTQUserWork::GetUserWork()->GetWallBmpDir() + typeName + QLatin1Char('/') + codeName +
               QStringLiteral(".jpg");
    }

    /// The stored material of that name in that province (ID 0: none).
    static CTQTimbering StoredMaterial(const QString& name, int provinceId = 0)
    {
        CTQTimbering material;
        material.Init();
        material.SetStuffName(name);
        material.SetProvinceID(provinceId);
        if (material.IsExist(nullptr) != TQLoad::DBS_Exist)
            material.Init();
        return material;
    }

    static QString TypeName(int typeId)
    {
        CTQTimberingType type;
        type.ReadData(typeId, nullptr);
        return type.Name;
    }
};
