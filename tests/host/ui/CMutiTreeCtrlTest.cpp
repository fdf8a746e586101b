#include "host/ui/CMutiTreeCtrl.h"

#include "support/QtTestHelpers.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Node
{
    int id;
};

TEST(CMutiTreeCtrlTest, RightClickSelectsTheItemWhoseNodeTheChosenCommandActsOn)
{
    Node heading{0};
    Node brick{12};
    CMutiTreeCtrl tree;
    QTreeWidgetItem* top = tree.InsertItem(QStringLiteral("所有材质"), nullptr, &heading);
    tree.InsertItem(QStringLiteral("砖石"), top);
    QTreeWidgetItem* material = tree.InsertItem(QStringLiteral("粘土砖"), top, &brick);
    top->setExpanded(true);
    tree.setCurrentItem(top);

    CTQMenuItemArray items;
    items.Add({30001, QStringLiteral("添加"), true, false});
    items.Add({30003, QStringLiteral("删除"), true, false});
    tree.AttachMenItemAry(&items);
    QSignalSpy commands(&tree, &CMutiTreeCtrl::menuCommand);
    tree.resize(300, 200);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));

    TestHelpers::ChooseFromContextMenu(tree.viewport(), tree.visualItemRect(material).center(),
                                       QStringLiteral("删除"));

    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands.at(0).at(0).toInt(), 30003);
    ASSERT_EQ(tree.currentItem(), material);
    EXPECT_EQ(static_cast<Node*>(CMutiTreeCtrl::GetItemNode(tree.currentItem()))->id, 12);
    EXPECT_EQ(CMutiTreeCtrl::GetItemNode(top->child(0)), nullptr);

    tree.DeleteAllItems();
    EXPECT_EQ(tree.topLevelItemCount(), 0);
}

} // namespace
