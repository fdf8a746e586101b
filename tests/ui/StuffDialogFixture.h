#pragma once

#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/CTqUiPropertyGrid.h"
#include "library/ManagerFixture.h"
#include "support/QtTestHelpers.h"
#include "ui/materials/CTqUiStuffInfoDlg.h"
#include "ui/materials/CTqUiStuffListDlg.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

/// The small library of ManagerFixture and helpers that read and drive the material dialogs.
///
/// Its material tree: "所有材质" 砂浆 [水泥砂浆], 砌体 [黏土砖]; "常用材质" 砂浆 [水泥砂浆], 保温
/// [XPS板]; "所有省份" 北京市 and 黑龙江省, each with 砂浆, 砌体 and 保温, under 黑龙江省's 保温
/// EPS板. 240砖墙 (砖墙) is made of 水泥砂浆 and 黏土砖.
class StuffDialogFixture : public ManagerFixture
{
protected:
    static CTQUiService& Service() { return CTQUiService::Instance(); }

    static void Show(QWidget& dialog) { TestHelpers::Show(dialog); }

    static CMutiTreeCtrl* Tree(QWidget& dialog) { return dialog.findChild<CMutiTreeCtrl*>("timbTree"); }
    static QPushButton* Button(QWidget& dialog, const char* name) { return dialog.findChild<QPushButton*>(name); }

    /// The tree's current item as a caption path.
    static QStringList CurrentTreePath(QWidget& dialog) { return TestHelpers::CurrentTreePath(*Tree(dialog)); }

    /// Selects the item at the end of a caption path as a click on it does.
    static void SelectTreeItem(QWidget& dialog, const QStringList& path)
    {
        TestHelpers::ClickTreeItem(*Tree(dialog), path);
        ASSERT_EQ(Tree(dialog)->currentItem(), TestHelpers::FindTreeItem(*Tree(dialog), path));
    }

    /// Chooses the enabled item captioned `itemText` from the context menu of the tree's current item.
    static void ChooseFromMenu(QWidget& dialog, const QString& itemText)
    {
        CMutiTreeCtrl* tree = Tree(dialog);
        const QPoint where = tree->visualItemRect(tree->currentItem()).center();
        const auto offered = TestHelpers::ChooseFromContextMenu(tree->viewport(), where, itemText);
        ASSERT_TRUE(offered.contains({itemText, true})) << itemText.toStdString();
    }

    static CTqUiPropertyGrid* Grid(QWidget& dialog)
    {
        return dialog.findChild<CTqUiPropertyGrid*>(QStringLiteral("stuffGrid"));
    }
    static QString GridValue(QWidget& dialog, const QString& caption)
    {
        CTqUiPropertyGrid* grid = Grid(dialog);
        return grid->GetRowValue(grid->FindRow(caption));
    }

    /// Clicks the row's value, types `text` into the editor that opens and presses Enter.
    static void TypeIntoRow(QWidget& dialog, const QString& caption, const QString& text)
    {
        auto* tree = Grid(dialog)->findChild<QTreeWidget*>(QStringLiteral("propertyTree"));
        const QList<QTreeWidgetItem*> items = tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive, 0);
        ASSERT_FALSE(items.isEmpty()) << caption.toStdString();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, TestHelpers::CellCenter(*tree, items.first(), 1));
        // On the row already selected the view opens its editor after the double-click interval.
        QLineEdit* editor = nullptr;
        const bool opened = QTest::qWaitFor([&] {
            for (QLineEdit* open : tree->viewport()->findChildren<QLineEdit*>()) {
                if (open->isVisible())
                    editor = open;
            }
            return editor != nullptr;
        });
        ASSERT_TRUE(opened) << "no editor opened on " << caption.toStdString();
        // QTest types ASCII keys only; insert() takes any text as typed, through the validator.
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        editor->insert(text);
        QTest::keyClick(editor, Qt::Key_Return);
        const QPointer<QLineEdit> open(editor);
        ASSERT_TRUE(QTest::qWaitFor([&] { return open.isNull() || !open->isVisible(); }));
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
