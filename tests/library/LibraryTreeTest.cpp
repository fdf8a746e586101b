// The construction and material trees the manager builds.
#include "library/ManagerFixture.h"

using namespace TQLoad;

using LibraryTreeTest = ManagerFixture;

TEST_F(LibraryTreeTest, ConstructionTreeHasItsThreeSubtrees)
{
    tagBSNode* root = m_Admin.GetBSNodes(1);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Name, QStringLiteral("所有分类"));
    EXPECT_EQ(Captions(root), (QStringList{"所有围护结构", "常用围护结构", "所有省份"}));

    // All constructions: every category by OrderId; under them the types with national ones.
    tagBSNode* all = root->Children[0];
    EXPECT_EQ(Captions(all), (QStringList{"屋面", "外墙", "门"}));
    EXPECT_EQ(Captions(Child(all, "外墙")), QStringList{"砖墙"}) << "保温墙 has no national construction";
    EXPECT_EQ(Captions(Child(all, "屋面")), QStringList{"平屋面"});
    EXPECT_TRUE(Child(all, "门")->Children.IsEmpty());

    // Common constructions: categories by ID, types with a common construction of any province.
    tagBSNode* common = root->Children[1];
    EXPECT_EQ(Captions(common), QStringList{"外墙"});
    EXPECT_EQ(Captions(Child(common, "外墙")), (QStringList{"砖墙", "保温墙"}));
    EXPECT_EQ(Child(Child(common, "外墙"), "保温墙")->CommonFlag, 1);

    // Per province: every province, every category, the types with constructions there.
    tagBSNode* provinces = root->Children[2];
    EXPECT_EQ(Captions(provinces), (QStringList{"北京市", "黑龙江省"}));
    for (const tagBSNode* province : provinces->Children) {
        EXPECT_EQ(province->NodeType, BSN_Province);
        EXPECT_EQ(Captions(province), (QStringList{"外墙", "屋面", "门"})) << province->Name.toStdString();
    }
    EXPECT_EQ(Captions(Child(Child(provinces, "黑龙江省"), "外墙")), QStringList{"保温墙"});
    EXPECT_TRUE(Child(Child(provinces, "北京市"), "外墙")->Children.IsEmpty());

    const tagBSNode* type = Child(Child(all, "外墙"), "砖墙");
    EXPECT_EQ(std::tuple(type->ID, type->NodeType, type->Parent->NodeType), std::tuple(m_Brick, BSN_BSType, BSN_BSCategory));
    EXPECT_EQ((QList<int>{all->Expand, common->Expand, provinces->Expand}), (QList<int>{0, 1, 1}));
    EXPECT_TRUE(MessagesShown().isEmpty());
}

TEST_F(LibraryTreeTest, TypeWithMissingCategoryIsReportedOncePerSubtree)
{
    // 孤儿 sorts first (BSDLId 0): it stops the types after it in the all and common subtrees,
    // while a province subtree skips only the orphan.
    const int orphan = AddType(QStringLiteral("孤儿"), 0);
    AddCode(QStringLiteral("孤儿做法"), orphan, 0, 1);
    AddCode(QStringLiteral("孤儿省做法"), orphan, m_Heilongjiang, 0);

    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    CTQUiService::Instance().QueueAnswer(QMessageBox::Ok);
    tagBSNode* root = m_Admin.GetBSNodes(1);
    EXPECT_EQ(MessagesShown(), (QStringList{"没找到围护结构的大类？！", "没找到围护结构的大类？！"}));
    EXPECT_EQ(CTQUiService::Instance().UnexpectedCount(), 0);
    EXPECT_EQ(CTQUiService::Instance().ShownMessages().front().icon, QMessageBox::Critical);
    CTQUiService::Instance().ClearRecords();

    EXPECT_TRUE(Child(root->Children[0], "外墙")->Children.IsEmpty());
    EXPECT_TRUE(Child(root->Children[1], "外墙")->Children.IsEmpty());
    EXPECT_EQ(Captions(Child(Child(root->Children[2], "黑龙江省"), "外墙")), QStringList{"保温墙"});
}

TEST_F(LibraryTreeTest, MaterialTreeLeavesOutReservedTypes)
{
    tagBSNode* root = m_Admin.GetTimbNodes(1);
    EXPECT_EQ(Captions(root), (QStringList{"所有材质", "常用材质", "所有省份"}));

    tagBSNode* all = root->Children[0];
    EXPECT_EQ(Captions(all), (QStringList{"砂浆", "砌体"})) << "type 17 and province-only types are left out";
    EXPECT_EQ(Captions(Child(all, "砂浆")), QStringList{"水泥砂浆"});

    tagBSNode* common = root->Children[1];
    EXPECT_EQ(Captions(common), (QStringList{"砂浆", "保温"}));
    EXPECT_EQ(Captions(Child(common, "保温")), QStringList{"XPS板"}) << "a common province material is common only";

    tagBSNode* heilongjiang = Child(root->Children[2], "黑龙江省");
    EXPECT_EQ(Captions(heilongjiang), (QStringList{"砂浆", "砌体", "保温"}));
    EXPECT_EQ(Captions(Child(heilongjiang, "保温")), QStringList{"EPS板"});
    const tagBSNode* eps = Child(Child(heilongjiang, "保温"), "EPS板");
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

TEST_F(LibraryTreeTest, NullFlagsAndProvincesPassNoSubtreeFilter)
{
    // A NULL equals no value: a construction without province is neither national nor of a
    // province, one without flag is not common; a material without flag is neither common nor
    // among its province's own.
    const int untold = AddType(QStringLiteral("未注明"), m_Door);
    Exec(QStringLiteral("INSERT INTO BSCode (BSTId, Name, CommonFlag, ProvinceId) VALUES (?, '无省份', NULL, NULL)"),
         {untold});
    Exec(QStringLiteral("INSERT INTO Timbering (Name, TTId, CommonFlag, ProvinceID, DrXs) VALUES ('无标志', ?, NULL, "
                        "?, 0.5)"),
         {m_InsulationType, m_Heilongjiang});
    Exec(QStringLiteral("INSERT INTO Timbering (Name, TTId, CommonFlag, ProvinceID, DrXs) VALUES ('全国无标志', ?, "
                        "NULL, 0, 0.5)"),
         {m_MortarType});

    tagBSNode* root = m_Admin.GetBSNodes(1);
    EXPECT_TRUE(Child(root->Children[0], "门")->Children.IsEmpty());
    EXPECT_EQ(Captions(root->Children[1]), QStringList{"外墙"});
    for (const tagBSNode* province : root->Children[2]->Children)
        EXPECT_TRUE(Child(province, "门")->Children.IsEmpty()) << province->Name.toStdString();

    tagBSNode* materials = m_Admin.GetTimbNodes(1);
    EXPECT_EQ(Captions(Child(materials->Children[0], "砂浆")), (QStringList{"水泥砂浆", "全国无标志"}));
    EXPECT_EQ(Captions(Child(materials->Children[1], "砂浆")), QStringList{"水泥砂浆"});
    EXPECT_EQ(Captions(Child(Child(materials->Children[2], "黑龙江省"), "保温")), QStringList{"EPS板"});
}
