#pragma once

#include "host/ui/CTQUiService.h"
#include "library/CTQBSDataAdmin.h"
#include "support/LibraryFixture.h"

/// A small library built through the record classes.
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

    int AddCategory(const QString& name, int order)
    {
        Exec(QStringLiteral("INSERT INTO BSDaLei (Name, OrderId) VALUES (?, ?)"), {name, order});
        return LastId(QStringLiteral("BSDaLei"));
    }

    int AddProvince(const QString& name, int zone)
    {
        CTQWallProvince province;
        province.Name = name;
        province.CId = zone;
        EXPECT_EQ(province.AddIfNotExist(nullptr, 1), TQLoad::DBS_Added);
        return province.GetID();
    }

    int AddType(const QString& name, int categoryId)
    {
        CTQBSType type;
        type.Name = name;
        type.BSDLId = categoryId;
        EXPECT_EQ(type.AddIfNotExist(nullptr, 1), TQLoad::DBS_Added);
        return type.GetID();
    }

    int AddCode(const QString& name, int typeId, int provinceId, int common)
    {
        CTQBSCode code;
        code.Name = name;
        code.BSTId = typeId;
        code.ProvinceId = provinceId;
        code.CommonFlag = common;
        EXPECT_EQ(code.AddIfNotExist(nullptr, 1), TQLoad::DBS_Added);
        return code.GetID();
    }

    void AddLayers(int codeId, const QString& ids, const QString& thicknesses, const QString& factors)
    {
        CTQBoundingStructure layers;
        layers.BSCId = codeId;
        layers.TIdS = ids;
        layers.HouDuS = thicknesses;
        layers.XzXsS = factors;
        EXPECT_EQ(layers.AddOrUpdate(nullptr), TQLoad::DBS_Added);
    }

    int AddMaterialType(const QString& name)
    {
        CTQTimberingType type;
        type.Name = name;
        EXPECT_EQ(type.AddIfNotExist(nullptr, 1), TQLoad::DBS_Added);
        return type.GetID();
    }

    int AddMaterial(const QString& name, int typeId, int provinceId, int common, double density, double conductivity,
                    double specificHeat)
    {
        CTQTimbering material;
        material.Init();
        material.SetStuffName(name);
        material.TTId = typeId;
        material.SetProvinceID(provinceId);
        material.SetCommonFlag(common);
        material.SetGMD(density);
        material.SetDrXs(conductivity);
        material.SetBRr(specificHeat);
        EXPECT_EQ(material.AddIfNotExist(nullptr, 1), TQLoad::DBS_Added);
        return material.GetID();
    }

    int LastId(const QString& table)
    {
        CADORecordset rows;
        EXPECT_TRUE(rows.Open(Db(), QStringLiteral("SELECT MAX(ID) AS ID FROM %1").arg(table)));
        int id = 0;
        rows.GetFieldValue(QStringLiteral("ID"), id);
        return id;
    }

    /// Captions of a node's children, in order.
    static QStringList Captions(const tagBSNode* node)
    {
        QStringList captions;
        for (const tagBSNode* child : node->Children)
            captions.append(child->Name);
        return captions;
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
