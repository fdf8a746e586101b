// The construction and material trees the manager builds.
#include "library/ManagerFixture.h"

using namespace TQLoad;

namespace {

// The construction tree of the fixture's library.
const QString kConstructions = QStringLiteral("所有围护结构[屋面[平屋面] 外墙[砖墙] 门] 常用围护结构[外墙[砖墙 保温墙]] "
                                              "所有省份[北京市[外墙 屋面 门] 黑龙江省[外墙[保温墙] 屋面 门]]");

} // namespace

class LibraryTreeTest : public ManagerFixture
{
protected:
    /// The captions below `node` in order, each one's own below it in brackets: "a[b c] d".
    static QString Outline(const tagBSNode* node)
    {
        QStringList parts;
        for (const tagBSNode* child : node->Children)
            parts.append(child->Children.IsEmpty() ? child->Name : child->Name + "[" + Outline(child) + "]");
        return parts.join(' ');
    }
};

// All constructions: every category by OrderId, under them the types with national ones (保温墙
// has none). Common: categories by ID, types with a common construction of any province. Per
// province: every category, the types with constructions there. A NULL equals no value: a
// construction without province is neither national nor of a province, one without flag is not common.
TEST_F(LibraryTreeTest, ConstructionTreeHasItsThreeSubtrees)
{
    tagBSNode* root = m_Admin.GetBSNodes(1);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Outline(root), kConstructions);
    const tagBSNode* type = Child(Child(root->Children[0], "外墙"), "砖墙");
    EXPECT_EQ(std::tuple(type->ID, type->NodeType, type->Parent->NodeType), std::tuple(m_Brick, BSN_BSType, BSN_BSCategory));
    EXPECT_EQ(Child(Child(root->Children[1], "外墙"), "保温墙")->CommonFlag, 1);
    EXPECT_EQ(root->Children[2]->Children[0]->NodeType, BSN_Province);
    EXPECT_EQ((QList<int>{root->Children[0]->Expand, root->Children[1]->Expand, root->Children[2]->Expand}),
              (QList<int>{0, 1, 1}));

    const int untold = AddType(QStringLiteral("未注明"), m_Door);
    Exec("INSERT INTO BSCode (BSTId, Name, CommonFlag, ProvinceId) VALUES (?, '无省份', NULL, NULL)", {untold});
    EXPECT_EQ(Outline(m_Admin.GetBSNodes(1)), kConstructions);

    // With a common roof the common subtree holds two categories, 外墙 first by ID.
    AddCode(QStringLiteral("常用平屋面"), m_FlatRoof, 0, 1);
    EXPECT_EQ(Outline(m_Admin.GetBSNodes(1)->Children[1]), QStringLiteral("外墙[砖墙 保温墙] 屋面[平屋面]"));
}

TEST_F(LibraryTreeTest, ATypeWithoutCategoryIsLeftOutAndReportedOnce)
{
    // 孤儿 sorts first (BSDLId 0): every other type is still placed, in every subtree, and one
    // message names it, the first time the tree is built only.
    const int orphan = AddType(QStringLiteral("孤儿"), 0);
    AddCode(QStringLiteral("孤儿做法"), orphan, 0, 1);
    AddCode(QStringLiteral("孤儿省做法"), orphan, m_Heilongjiang, 0);

    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    tagBSNode* root = m_Admin.GetBSNodes(1);
    EXPECT_EQ(MessagesShown(), QStringList{"没找到围护结构的大类？！\n孤儿"});
    EXPECT_EQ(CTQUiService::Instance().ShownMessages().front().icon, QMessageBox::Critical);
    EXPECT_EQ(Outline(root), kConstructions);
    CTQUiService::Instance().ClearRecords();
    EXPECT_EQ(Outline(m_Admin.GetBSNodes(1)), kConstructions);
    EXPECT_TRUE(MessagesShown().isEmpty());
}

// Types 16 to 18 are reserved and never shown, nor are types with province materials only in the
// national subtree; a common province material is common only. A material without flag (NULL) is
// neither common nor among its province's own, one without province (NULL) is not national.
TEST_F(LibraryTreeTest, MaterialTreeLeavesOutReservedTypes)
{
    Exec("INSERT INTO Timbering (Name, TTId, CommonFlag, ProvinceID) VALUES ('无标志', ?, NULL, ?)",
         {m_InsulationType, m_Heilongjiang});
    Exec("INSERT INTO Timbering (Name, TTId, CommonFlag, ProvinceID) VALUES ('全国无标志', ?, NULL, 0)", {m_MortarType});
    Exec("INSERT INTO Timbering (Name, TTId, CommonFlag, ProvinceID) VALUES ('无省份', ?, 0, NULL)", {m_MortarType});
    tagBSNode* root = m_Admin.GetTimbNodes(1);
    EXPECT_EQ(Outline(root), QStringLiteral("所有材质[砂浆[水泥砂浆 全国无标志] 砌体[黏土砖]] 常用材质[砂浆[水泥砂浆] 保温[XPS板]] "
                                            "所有省份[北京市[砂浆 砌体 保温] 黑龙江省[砂浆 砌体 保温[EPS板]]]"));
    const tagBSNode* eps = Child(Child(Child(root->Children[2], "黑龙江省"), "保温"), "EPS板");
    EXPECT_EQ(std::pair(eps->ID, eps->NodeType), std::pair(m_Eps, BSN_Timbering));
}

TEST_F(LibraryTreeTest, ABrokenLibraryStillGivesTheHeadings)
{
    Exec("DROP TABLE BSDaLei");
    Exec("DROP TABLE TimberingType");
    for (tagBSNode* root : {m_Admin.GetBSNodes(1), m_Admin.GetTimbNodes(1)}) {
        ASSERT_EQ(root->Children.GetSize(), 3) << "the headings exist even when every query fails";
        EXPECT_TRUE(root->Children[0]->Children.IsEmpty());
    }
}
