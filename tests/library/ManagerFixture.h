#pragma once

#include "host/ui/CTQUiService.h"
#include "library/CTQBSDataAdmin.h"
#include "support/LibraryFixture.h"

/// A small library built through the record classes (the Add functions of LibraryFixture).
///
/// Categories (OrderId): 外墙 (2), 屋面 (1), 门 (3). Provinces: 北京市, 黑龙江省.
/// Types: 砖墙 and 保温墙 (外墙), 平屋面 (屋面).
/// Constructions: 240砖墙 (砖墙, national, common), 370砖墙 (砖墙, national),
/// 北方保温墙 (保温墙, 黑龙江省, common), 平屋面A (平屋面, national).
/// Material types: 砂浆, 砌体, 保温, and 17 (a reserved type the trees never show).
/// Materials: 水泥砂浆 (national, common), 黏土砖 (national), EPS板 (黑龙江省), XPS板 (黑龙江省,
/// common), 隐藏材料 (type 17), 无类型 (黑龙江省, no type).
class ManagerFixture : public LibraryFixture
{
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();

        m_Wall = AddCategory(QStringLiteral("外墙"), 2);
        m_Roof = AddCategory(QStringLiteral("屋面"), 1);
        m_Door = AddCategory(QStringLiteral("门"), 3);
        m_Beijing = AddProvince(QStringLiteral("北京市"), 2);
        m_Heilongjiang = AddProvince(QStringLiteral("黑龙江省"), 1);

        m_Brick = AddType(QStringLiteral("砖墙"), m_Wall);
        m_Insulated = AddType(QStringLiteral("保温墙"), m_Wall);
        m_FlatRoof = AddType(QStringLiteral("平屋面"), m_Roof);

        m_MortarType = AddMaterialType(QStringLiteral("砂浆"));
        m_MasonryType = AddMaterialType(QStringLiteral("砌体"));
        m_InsulationType = AddMaterialType(QStringLiteral("保温"));
        Exec(QStringLiteral("INSERT INTO TimberingType (ID, Name) VALUES (17, '保留17')"));

        m_Mortar = AddMaterial(QStringLiteral("水泥砂浆"), m_MortarType, 0, 1, 1800, 0.93, 1.05);
        m_Clay = AddMaterial(QStringLiteral("黏土砖"), m_MasonryType, 0, 0, 1800, 0.81, 1.05);
        m_Eps = AddMaterial(QStringLiteral("EPS板"), m_InsulationType, m_Heilongjiang, 0, 20, 0.042, 1.38);
        m_Xps = AddMaterial(QStringLiteral("XPS板"), m_InsulationType, m_Heilongjiang, 1, 30, 0.03, 1.38);
        m_Hidden = AddMaterial(QStringLiteral("隐藏材料"), 17, 0, 0, 1000, 0.5, 1.0);
        m_Untyped = AddMaterial(QStringLiteral("无类型"), 0, m_Heilongjiang, 0, 1000, 0.5, 1.0);

        m_Brick240 = AddCode(QStringLiteral("240砖墙"), m_Brick, 0, 1);
        AddLayers(m_Brick240, QStringLiteral("%1,%2,%1").arg(m_Mortar).arg(m_Clay), QStringLiteral("20,240,20"),
                  QStringLiteral("1,1,1"));
        m_Brick370 = AddCode(QStringLiteral("370砖墙"), m_Brick, 0, 0);
        m_NorthWall = AddCode(QStringLiteral("北方保温墙"), m_Insulated, m_Heilongjiang, 1);
        m_RoofA = AddCode(QStringLiteral("平屋面A"), m_FlatRoof, 0, 0);
    }

    /// The child of `node` captioned `name`, or null.
    static tagBSNode* Child(const tagBSNode* node, const QString& name)
    {
        for (tagBSNode* child : node->Children) {
            if (child->Name == name)
                return child;
        }
        return nullptr;
    }

    QStringList MessagesShown() const
    {
        QStringList texts;
        for (const auto& record : CTQUiService::Instance().ShownMessages())
            texts.append(record.text);
        return texts;
    }

    CTQBSDataAdmin m_Admin;
    int m_Wall = 0, m_Roof = 0, m_Door = 0;
    int m_Beijing = 0, m_Heilongjiang = 0;
    int m_Brick = 0, m_Insulated = 0, m_FlatRoof = 0;
    int m_MortarType = 0, m_MasonryType = 0, m_InsulationType = 0;
    int m_Mortar = 0, m_Clay = 0, m_Eps = 0, m_Xps = 0, m_Hidden = 0, m_Untyped = 0;
    int m_Brick240 = 0, m_Brick370 = 0, m_NorthWall = 0, m_RoofA = 0;
};
