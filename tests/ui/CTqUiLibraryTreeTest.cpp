// The search box above the construction and the material tree, and what keeps the trees' and the
// grids' texts whole.
#include "ui/common/CTqUiLibraryTree.h"

#include "DialogFixture.h"
#include "support/QtPrinters.h"
#include "ui/materials/CTqUiStuffListDlg.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidgetItemIterator>

#include <functional>

namespace {

class CTqUiLibraryTreeTest : public DialogFixture
{
protected:
    static QLineEdit* SearchBox(QWidget& dialog) { return Find<QLineEdit>(dialog, "treeSearchEdit"); }
    static QString CountShown(QWidget& dialog) { return Find<QLabel>(dialog, "treeSearchCount")->text(); }

    /// Types into the search box as the user does, after emptying it.
    static void Search(QWidget& dialog, const QString& text)
    {
        SearchBox(dialog)->clear();
        // One key a character; QTest's own typing knows Latin-1 keys only.
        for (const QChar character : text)
            QTest::sendKeyEvent(QTest::Click, SearchBox(dialog), Qt::Key_unknown, QString(character), Qt::NoModifier);
    }

    /// Caption paths of the shown items that show no child: what the filter left standing.
    static QStringList ShownLeaves(QWidget& dialog)
    {
        QStringList leaves;
        const std::function<void(const QTreeWidgetItem*, const QString&)> walk = [&](const QTreeWidgetItem* item,
                                                                                     const QString& path) {
            bool bShowsChild = false;
            for (int i = 0; i < item->childCount(); ++i) {
                const QTreeWidgetItem* child = item->child(i);
                if (child->isHidden())
                    continue;
                bShowsChild = true;
                walk(child, path.isEmpty() ? child->text(0) : path + QLatin1Char('/') + child->text(0));
            }
            if (!bShowsChild && !path.isEmpty())
                leaves.append(path);
        };
        walk(Tree(dialog)->invisibleRootItem(), QString());
        return leaves;
    }
};

// The construction tree: case and full- or half-width forms alike, parents kept, matches counted
// (a parent holding a match counts only when it matches itself); the choice is not touched; Esc
// clears the box and only a second Esc closes the dialog.
TEST_F(CTqUiLibraryTreeTest, ConstructionTreeFilterKeepsParentsCountsAndClearsOnEsc)
{
    AddCode(QStringLiteral("EPS墙A"), AddType(QStringLiteral("EPS外保温墙"), m_Wall), 0, 0);
    auto dialog = OpenOnCode(m_Brick240);
    const QStringList allLeaves = ShownLeaves(*dialog);

    const struct
    {
        QString typed;
        QStringList leaves;
        QString count;
    } table[] = {
        {"ＥＰＳ", {"所有围护结构/外墙/EPS外保温墙"}, "找到 1 项"},
        {"eps外", {"所有围护结构/外墙/EPS外保温墙"}, "找到 1 项"},
        {"保温墙",
         {"所有围护结构/外墙/EPS外保温墙", "常用围护结构/外墙/保温墙", "所有省份/黑龙江省/外墙/保温墙"},
         "找到 3 项"},
        {"外墙",
         {"所有围护结构/外墙", "常用围护结构/外墙", "所有省份/北京市/外墙", "所有省份/黑龙江省/外墙"},
         "找到 4 项"},
        {"无此名", {}, "找到 0 项"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.typed.toStdString());
        Search(*dialog, row.typed);
        EXPECT_EQ(ShownLeaves(*dialog), row.leaves);
        EXPECT_EQ(CountShown(*dialog), row.count);
    }
    EXPECT_EQ(CurrentTreePath(*dialog), (QStringList{"所有围护结构", "外墙", "砖墙"}));
    EXPECT_EQ(dialog->m_Code.Name, "240砖墙");

    QTest::keyClick(SearchBox(*dialog), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(SearchBox(*dialog)->text(), QString());
    EXPECT_EQ(CountShown(*dialog), QString());
    EXPECT_EQ(ShownLeaves(*dialog).size(), allLeaves.size());
    QTest::keyClick(SearchBox(*dialog), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
}

// The material tree shares the box: Enter makes the first match current without pressing OK, and
// a tree rebuilt after a change keeps the filter.
TEST_F(CTqUiLibraryTreeTest, MaterialTreeFilterGoesToTheFirstMatchAndSurvivesARebuild)
{
    CTqUiStuffListDlg dialog;
    dialog.m_Type.Name = QStringLiteral("砂浆");
    Show(dialog);
    Search(dialog, QStringLiteral("ｅｐｓ板"));
    EXPECT_EQ(ShownLeaves(dialog), QStringList{"所有省份/黑龙江省/保温/EPS板"});
    QTest::keyClick(SearchBox(dialog), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(CurrentTreePath(dialog), (QStringList{"所有省份", "黑龙江省", "保温", "EPS板"}));
    EXPECT_EQ(GridValue(dialog, QStringLiteral("材质名称")), "EPS板");

    Search(dialog, QStringLiteral("板"));
    ClickTreeItem(dialog, {"常用材质", "保温", "XPS板"});
    // Taking XPS板 out of the common materials rebuilds the tree.
    TestHelpers::ChooseFromContextMenu(Tree(dialog)->viewport(),
                                       TestHelpers::CellCenter(*Tree(dialog), Tree(dialog)->currentItem(), 0),
                                       QStringLiteral("取消常用"));
    EXPECT_EQ(ShownLeaves(dialog), (QStringList{"所有省份/黑龙江省/保温/EPS板", "所有省份/黑龙江省/保温/XPS板"}));
    EXPECT_EQ(CountShown(dialog), "找到 2 项");
}

// Without a saved placement the library dialog opens within a 1366×768 screen, every type name
// reads whole in the tree, and every grid header's words fit their sections.
TEST_F(CTqUiLibraryTreeTest, DefaultSizeFitsTheScreenAndCutsNoText)
{
    auto dialog = OpenOnCode(m_Brick240);
    EXPECT_LE(dialog->frameGeometry().width(), 1366);
    EXPECT_LE(dialog->frameGeometry().height(), 768 - 40) << "room for a task bar";

    CMutiTreeCtrl& tree = *Tree(*dialog);
    const QFontMetrics treeFont(tree.font());
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent())
            ++depth;
        EXPECT_LE((depth + 1) * tree.indentation() + treeFont.horizontalAdvance((*it)->text(0)),
                  tree.viewport()->width())
            << (*it)->text(0).toStdString();
        EXPECT_EQ((*it)->toolTip(0), (*it)->text(0));
    }

    for (CTqUiReportControl* grid : {List(*dialog), Layers(*dialog)}) {
        const QHeaderView& header = *grid->header();
        const QFontMetrics headerFont(header.font());
        for (int col = 0; col < header.count(); ++col) {
            const QString text = grid->headerItem()->text(col);
            // A header wraps between words; its widest unbreakable piece must fit.
            const QRect needed =
                headerFont.boundingRect(QRect(0, 0, header.sectionSize(col), 1000), Qt::TextWordWrap, text);
            EXPECT_LE(needed.width(), header.sectionSize(col)) << text.toStdString();
            EXPECT_LE(needed.height(), header.height()) << text.toStdString();
        }
    }
}

} // namespace
