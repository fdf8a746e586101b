#include "library/CTQBSDataAdmin.h"

#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/core/CTQEnviroment.h"
#include "host/ui/CTQUiService.h"
#include "host/core/CTQUserWork.h"
#include "host/core/TQPicturePath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

using TQLoad::EBSNodeType;

namespace {

// Material types 16, 17 and 18 are kept out of every material tree; their rows stay readable
// by ID.
const QString kHiddenMaterialTypes = QStringLiteral("(16,17,18)");

CADODatabase* LibraryDatabase()
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase();
}

const QString& DatabaseErrorText()
{
    static const QString text = QStringLiteral("操作数据库时出错！");
    return text;
}

QString DeleteErrorText(const QString& table)
{
    return QStringLiteral("删除表 \"%1\" 时出错！").arg(table);
}

void ShowMessage(const QString& text, QMessageBox::Icon icon)
{
    CTQUiService::Instance().MessageBox(nullptr, text, icon);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Nodes and lifetime

CTQBSDataAdmin::tagBSNode::tagBSNode(const QString& name, int id, tagBSNode* parent, int expand, int commonFlag,
                                     EBSNodeType nodeType)
    : Name(name), Expand(expand), ID(id), CommonFlag(commonFlag), NodeType(nodeType), Parent(parent)
{
    if (parent)
        parent->Children.Add(this);
}

CTQBSDataAdmin* CTQBSDataAdmin::GetBSDataManager()
{
    static CTQBSDataAdmin instance;
    return &instance;
}

CTQBSDataAdmin::CTQBSDataAdmin() = default;

CTQBSDataAdmin::~CTQBSDataAdmin()
{
    ReleaseBSNodes(m_pBSRoot);
    ReleaseTimbNodes(m_pTimbRoot);
}

void CTQBSDataAdmin::ReleaseSubtree(tagBSNode* node)
{
    if (!node)
        return;
    for (tagBSNode* child : node->Children)
        ReleaseSubtree(child);
    delete node;
}

void CTQBSDataAdmin::ReleaseBSNodes(tagBSNode* node)
{
    ReleaseSubtree(node);
}

void CTQBSDataAdmin::ReleaseTimbNodes(tagBSNode* node)
{
    ReleaseSubtree(node);
}

void CTQBSDataAdmin::Release()
{
    ReleaseBSNodes(m_pBSRoot);
    ReleaseTimbNodes(m_pTimbRoot);
    m_pBSRoot = nullptr;
    m_pTimbRoot = nullptr;
    m_pCurBSNode = nullptr;
    m_pCurTimbNode = nullptr;
}

tagBSNode* CTQBSDataAdmin::GetBSNodes(int rebuild)
{
    if (!rebuild && m_pBSRoot)
        return m_pBSRoot;
    ReleaseBSNodes(m_pBSRoot);
    m_pCurBSNode = nullptr;
    m_pBSRoot = new tagBSNode(QStringLiteral("所有分类"), 0, nullptr, 1, 1, TQLoad::BSN_Label);
    MakeBSNodes();
    MakeBSCommonNodes();
    MakeBSProvinceNodes();
    return m_pBSRoot;
}

tagBSNode* CTQBSDataAdmin::GetTimbNodes(int rebuild)
{
    if (!rebuild && m_pTimbRoot)
        return m_pTimbRoot;
    ReleaseTimbNodes(m_pTimbRoot);
    m_pCurTimbNode = nullptr;
    m_pTimbRoot = new tagBSNode(QStringLiteral("所有分类"), 0, nullptr, 1, 1, TQLoad::BSN_Label);
    MakeTimbNodes();
    MakeTimbCommonNodes();
    MakeTimbProvinceNodes();
    return m_pTimbRoot;
}

// ---------------------------------------------------------------------------------------------
// Selection and searches

tagBSNode* CTQBSDataAdmin::SelectBSNode(int common)
{
    m_bBSCommon = common;
    if (m_pBSRoot && m_pBSRoot->Children.GetSize() >= 2)
        m_pCurBSNode = m_pBSRoot->Children[common ? 1 : 0];
    else
        m_pCurBSNode = nullptr;
    return m_pCurBSNode;
}

tagBSNode* CTQBSDataAdmin::SelectTimbNode(int common)
{
    if (!m_pTimbRoot)
        GetTimbNodes(1);
    if (!m_pTimbRoot || m_pTimbRoot->Children.GetSize() < 3)
        return nullptr;
    if (common)
        return m_pTimbRoot->Children[1];
    if (m_TimbProvince.GetID() == 0)
        return m_pTimbRoot->Children[0];
    m_TimbProvince.ReadData(m_TimbProvince.GetID(), nullptr);
    for (tagBSNode* province : m_pTimbRoot->Children[2]->Children) {
        if (province->Name.compare(m_TimbProvince.Name, Qt::CaseInsensitive) == 0)
            return province;
    }
    return nullptr;
}

tagBSNode* CTQBSDataAdmin::FindBSDLNode(tagBSNode* parent, CTQBSCategory& category)
{
    if (!parent)
        return nullptr;
    for (tagBSNode* child : parent->Children) {
        if (child->Name == category.Name || child->ID == category.GetID())
            return child;
    }
    return nullptr;
}

tagBSNode* CTQBSDataAdmin::FindBSTNode(tagBSNode* parent, CTQBSCategory& category, CTQBSType& type)
{
    tagBSNode* categoryNode = FindBSDLNode(parent, category);
    if (!categoryNode)
        return nullptr;
    for (tagBSNode* child : categoryNode->Children) {
        if (child->Name == type.Name || child->ID == type.GetID())
            return child;
    }
    return nullptr;
}

tagBSNode* CTQBSDataAdmin::FindBSCNode(tagBSNode* parent, CTQBSCategory& category, CTQBSType& type, CTQBSCode& code)
{
    tagBSNode* typeNode = FindBSTNode(parent, category, type);
    if (!typeNode)
        return nullptr;
    for (tagBSNode* child : typeNode->Children) {
        if (child->Name == code.Name || child->ID == code.GetID())
            return child;
    }
    return nullptr;
}

tagBSNode* CTQBSDataAdmin::FindTimbTypeNode(tagBSNode& key)
{
    if (!m_pCurTimbNode)
        return nullptr;
    for (tagBSNode* child : m_pCurTimbNode->Children) {
        if (child->Name == key.Name)
            return child;
    }
    return nullptr;
}

tagBSNode* CTQBSDataAdmin::FindTimbTypeNode(tagBSNode* parent, CTQTimberingType type)
{
    if (!parent)
        return nullptr;
    for (tagBSNode* child : parent->Children) {
        if (child->ID == type.GetID())
            return child;
    }
    return nullptr;
}

tagBSNode* CTQBSDataAdmin::FindTimbNode(tagBSNode& typeKey, tagBSNode& key)
{
    tagBSNode* typeNode = FindTimbTypeNode(typeKey);
    if (!typeNode)
        return nullptr;
    for (tagBSNode* child : typeNode->Children) {
        if (child->Name.compare(key.Name, Qt::CaseInsensitive) == 0)
            return child;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Construction tree

void CTQBSDataAdmin::PlaceTypesUnderCategories(CADORecordset& types, tagBSNode* categoryParent, int commonFlag,
                                               bool reportMissing)
{
    // Type rows come ordered by category: the category node is looked up again only when the
    // category changes (and, after a miss, for every row until one is found).
    tagBSNode* categoryNode = nullptr;
    int categoryId = 0;
    const unsigned int count = types.GetRecordCount();
    for (unsigned int row = 0; row < count; ++row, types.MoveNext()) {
        CTQBSType type;
        type.MakeObjectFromRS(types);
        if (!categoryNode || type.BSDLId != categoryId) {
            CTQBSCategory key;
            key.SetID(type.BSDLId);
            categoryNode = FindBSDLNode(categoryParent, key);
            categoryId = type.BSDLId;
        }
        if (!categoryNode) {
            if (reportMissing) {
                ShowMessage(QStringLiteral("没找到围护结构的大类？！"), QMessageBox::Critical);
                return;
            }
            continue;
        }
        new tagBSNode(type.Name, type.GetID(), categoryNode, 0, commonFlag, TQLoad::BSN_BSType);
    }
}

int CTQBSDataAdmin::MakeConstructionSubtree(const QString& caption, int expand, int commonFlag,
                                            const QString& categorySql, const QString& typeSql)
{
    m_pCurBSNode = new tagBSNode(caption, 0, m_pBSRoot, expand, commonFlag, TQLoad::BSN_Label);
    CADORecordset categories;
    CTQBSCategory category;
    if (!category.ExecSql(categorySql, &categories, LibraryDatabase()) || categories.GetRecordCount() == 0)
        return 0;
    for (unsigned int row = 0; row < categories.GetRecordCount(); ++row, categories.MoveNext()) {
        category.MakeObjectFromRS(categories);
        new tagBSNode(category.Name, category.GetID(), m_pCurBSNode, 0, commonFlag, TQLoad::BSN_BSCategory);
    }
    CADORecordset types;
    CTQBSType type;
    if (!type.ExecSql(typeSql, &types, LibraryDatabase()))
        return 0;
    PlaceTypesUnderCategories(types, m_pCurBSNode, commonFlag, true);
    return 1;
}

int CTQBSDataAdmin::MakeBSNodes()
{
    // Every category by its order; under it the types that have national constructions.
    const QString categoryTable = CTQBSCategory().GetTableName();
    const QString typeTable = CTQBSType().GetTableName();
    const QString codeTable = CTQBSCode().GetTableName();
    return MakeConstructionSubtree(
        QStringLiteral("所有围护结构"), 0, 0, QStringLiteral("SELECT * FROM %1 ORDER BY OrderId, ID").arg(categoryTable),
        QStringLiteral("SELECT * FROM %1 WHERE ID IN (SELECT DISTINCT BSTId FROM %2 WHERE ProvinceId = 0) "
                       "ORDER BY BSDLId, ID")
            .arg(typeTable, codeTable));
}

int CTQBSDataAdmin::MakeBSCommonNodes()
{
    // The categories and types that hold a common construction of any province.
    const QString categoryTable = CTQBSCategory().GetTableName();
    const QString typeTable = CTQBSType().GetTableName();
    const QString codeTable = CTQBSCode().GetTableName();
    return MakeConstructionSubtree(
        QStringLiteral("常用围护结构"), 1, 1,
        QStringLiteral("SELECT * FROM %1 WHERE ID IN (SELECT DISTINCT BSDLId FROM %2 WHERE ID IN "
                       "(SELECT DISTINCT BSTId FROM %3 WHERE CommonFlag <> 0)) ORDER BY ID")
            .arg(categoryTable, typeTable, codeTable),
        QStringLiteral("SELECT * FROM %1 WHERE ID IN (SELECT DISTINCT BSTId FROM %2 WHERE CommonFlag <> 0) "
                       "ORDER BY BSDLId, ID")
            .arg(typeTable, codeTable));
}

int CTQBSDataAdmin::MakeBSProvinceNodes()
{
    m_pCurBSNode = new tagBSNode(QStringLiteral("所有省份"), 0, m_pBSRoot, 1, 0, TQLoad::BSN_Label);
    CADORecordset provinces;
    CTQWallProvince province;
    if (!province.ExecSql(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(province.GetTableName()), &provinces,
                          LibraryDatabase()))
        return 0;
    // Every province holds every category: the categories are read once for all of them.
    CADORecordset categories;
    CTQBSCategory category;
    const bool categoriesRead = category.ExecSql(
        QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(category.GetTableName()), &categories, LibraryDatabase());
    for (unsigned int row = 0; row < provinces.GetRecordCount(); ++row, provinces.MoveNext()) {
        province.MakeObjectFromRS(provinces);
        tagBSNode* provinceNode =
            new tagBSNode(province.Name, province.GetID(), m_pCurBSNode, 0, 0, TQLoad::BSN_Province);
        if (!categoriesRead)
            return 0;
        if (categories.GetRecordCount() == 0)
            continue;
        categories.MoveFirst();
        for (unsigned int c = 0; c < categories.GetRecordCount(); ++c, categories.MoveNext()) {
            category.MakeObjectFromRS(categories);
            new tagBSNode(category.Name, category.GetID(), provinceNode, 0, 0, TQLoad::BSN_BSCategory);
        }
        MakeProvinceSubNode(provinceNode);
    }
    return 1;
}

int CTQBSDataAdmin::MakeProvinceSubNode(tagBSNode* node)
{
    if (!node)
        return 0;
    CADORecordset types;
    CTQBSType type;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE ID IN (SELECT DISTINCT BSTId FROM %2 WHERE "
                                       "ProvinceId = ?) ORDER BY BSDLId, ID")
                            .arg(type.GetTableName(), CTQBSCode().GetTableName());
    if (!type.ExecSql(sql, &types, LibraryDatabase(), {node->ID}))
        return 0;
    PlaceTypesUnderCategories(types, node, 0, false);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Material tree

int CTQBSDataAdmin::MakeMaterialSubtree(const QString& caption, int expand, int commonFlag, const QString& materialFilter)
{
    // Types that hold a material passing the filter, each with those materials, by ID.
    m_pCurTimbNode = new tagBSNode(caption, 0, m_pTimbRoot, expand, commonFlag, TQLoad::BSN_Label);
    const QString typeTable = CTQTimberingType().GetTableName();
    const QString materialTable = CTQTimbering().GetTableName();
    CADORecordset types;
    CTQTimberingType type;
    const QString typeSql = QStringLiteral("SELECT * FROM %1 WHERE ID IN (SELECT DISTINCT TTId FROM %2 WHERE "
                                           "%3 AND TTId NOT IN %4) ORDER BY ID")
                                .arg(typeTable, materialTable, materialFilter, kHiddenMaterialTypes);
    if (!type.ExecSql(typeSql, &types, LibraryDatabase()))
        return 0;
    const QString materialSql = QStringLiteral("SELECT * FROM %1 WHERE TTId = ? AND %2 AND TTId NOT IN %3 ORDER BY ID")
                                    .arg(materialTable, materialFilter, kHiddenMaterialTypes);
    for (unsigned int row = 0; row < types.GetRecordCount(); ++row, types.MoveNext()) {
        type.MakeObjectFromRS(types);
        auto* typeNode =
            new tagBSNode(type.Name, type.GetID(), m_pCurTimbNode, 0, commonFlag, TQLoad::BSN_TimberingType);
        // A failed material query leaves this type without materials; the others still come.
        CADORecordset materials;
        CTQTimbering material;
        if (!material.ExecSql(materialSql, &materials, LibraryDatabase(), {typeNode->ID}))
            continue;
        for (unsigned int m = 0; m < materials.GetRecordCount(); ++m, materials.MoveNext()) {
            material.MakeObjectFromRS(materials);
            new tagBSNode(material.GetStuffName(), material.GetID(), typeNode, 0, commonFlag, TQLoad::BSN_Timbering);
        }
    }
    return 1;
}

int CTQBSDataAdmin::MakeTimbNodes()
{
    return MakeMaterialSubtree(QStringLiteral("所有材质"), 1, 0, QStringLiteral("ProvinceID = 0"));
}

int CTQBSDataAdmin::MakeTimbCommonNodes()
{
    return MakeMaterialSubtree(QStringLiteral("常用材质"), 0, 1, QStringLiteral("CommonFlag <> 0"));
}

int CTQBSDataAdmin::MakeTimbProvinceNodes()
{
    // The province heading does not become the current material node: after a build the common
    // heading stays current, which FindTimbTypeNode(key) searches.
    tagBSNode* heading = new tagBSNode(QStringLiteral("所有省份"), 0, m_pTimbRoot, 1, 0, TQLoad::BSN_Label);
    CADORecordset provinces;
    CTQWallProvince province;
    if (!province.ExecSql(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(province.GetTableName()), &provinces,
                          LibraryDatabase()))
        return 0;
    CADORecordset types;
    CTQTimberingType type;
    const bool typesRead =
        type.ExecSql(QStringLiteral("SELECT * FROM %1 WHERE ID NOT IN %2 ORDER BY ID").arg(type.GetTableName(),
                                                                                          kHiddenMaterialTypes),
                     &types, LibraryDatabase());
    for (unsigned int row = 0; row < provinces.GetRecordCount(); ++row, provinces.MoveNext()) {
        province.MakeObjectFromRS(provinces);
        tagBSNode* provinceNode = new tagBSNode(province.Name, province.GetID(), heading, 0, 0, TQLoad::BSN_Province);
        if (!typesRead)
            return 0;
        if (types.GetRecordCount() == 0)
            continue;
        types.MoveFirst();
        for (unsigned int t = 0; t < types.GetRecordCount(); ++t, types.MoveNext()) {
            type.MakeObjectFromRS(types);
            new tagBSNode(type.Name, type.GetID(), provinceNode, 0, 0, TQLoad::BSN_TimberingType);
        }
        MakeTimbProvinceSubNode(provinceNode);
    }
    return 1;
}

int CTQBSDataAdmin::MakeTimbProvinceSubNode(tagBSNode* node)
{
    if (!node)
        return 0;
    CADORecordset materials;
    CTQTimbering material;
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE CommonFlag = 0 AND ProvinceID = ? AND TTId NOT IN %2 "
                                       "ORDER BY ID")
                            .arg(material.GetTableName(), kHiddenMaterialTypes);
    if (!material.ExecSql(sql, &materials, LibraryDatabase(), {node->ID}))
        return 0;
    for (unsigned int row = 0; row < materials.GetRecordCount(); ++row, materials.MoveNext()) {
        material.MakeObjectFromRS(materials);
        if (material.TTId == 0)
            continue;
        CTQTimberingType key;
        key.SetID(material.TTId);
        tagBSNode* typeNode = FindTimbTypeNode(node, key);
        if (!typeNode)
            continue;
        new tagBSNode(material.GetName(), material.GetID(), typeNode, 0, 0, TQLoad::BSN_Timbering);
    }
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Constructions as wall data, demo pictures

int CTQBSDataAdmin::GetBS(CTQBoundingStructure& layers, const int& bscId)
{
    layers.Init();
    CADORecordset rows;
    layers.ExecSql(QStringLiteral("SELECT * FROM %1 WHERE BSCId = ? ORDER BY ID").arg(layers.GetTableName()), &rows,
                   LibraryDatabase(), {bscId});
    if (rows.GetRecordCount() > 0)
        layers.MakeObjectFromRS(rows);
    return 1;
}

namespace {

// The layers of a stored layer set, in metres. The lists should be equally long; a layer whose
// thickness or factor is missing gets NaN, so its wall evaluates to "-" instead of to a K that
// silently leaves the layer out.
CTQArray<CTQTimberingData> LayersOf(const CTQBoundingStructure& layerSet)
{
    constexpr double missing = std::numeric_limits<double>::quiet_NaN();
    CTQArray<CTQTimberingData> layers;
    for (int i = 0; i < layerSet.m_StuffAry.GetSize(); ++i) {
        const CTQMateralData& material = layerSet.m_StuffAry[i];
        CTQTimberingData layer;
        layer.SetStuffID(material.GetStuffID());
        layer.SetStuffName(material.GetStuffName());
        layer.SetBRr(material.GetBRr());
        layer.SetDrXs(material.GetDrXs());
        layer.SetGMD(material.GetGMD());
        layer.SetThick(i < layerSet.m_HouDuAry.GetSize() ? layerSet.m_HouDuAry[i] / 1000.0 : missing);
        layer.SetDrXsXz(i < layerSet.m_XzXsAry.GetSize() ? layerSet.m_XzXsAry[i] : missing);
        layers.Add(layer);
    }
    return layers;
}

} // namespace

void CTQBSDataAdmin::GetBSCodeCWallDataAry(const CTQBSType& type, CTQArray<CTQWallData>& wallDatas, bool calculate,
                                           const CTQCrXs& crxs)
{
    wallDatas.RemoveAll();
    CTQBSCode code;
    const QString table = code.GetTableName();
    CADORecordset rows;
    const bool ran =
        m_bBSCommon
            ? code.ExecSql(QStringLiteral("SELECT * FROM %1 WHERE BSTId = ? AND CommonFlag <> 0 ORDER BY ID").arg(table),
                           &rows, LibraryDatabase(), {type.GetID()})
            : code.ExecSql(QStringLiteral("SELECT * FROM %1 WHERE BSTId = ? AND ProvinceId = ? ORDER BY ID").arg(table),
                           &rows, LibraryDatabase(), {type.GetID(), m_BSProvince.GetID()});
    if (!ran)
        return;
    for (unsigned int row = 0; row < rows.GetRecordCount(); ++row, rows.MoveNext()) {
        code.MakeObjectFromRS(rows);
        wallDatas.Add(GetBSCodeWallData(code, calculate, crxs));
    }
}

CTQWallData CTQBSDataAdmin::GetBSCodeWallData(const CTQBSCode& code, bool calculate, const CTQCrXs& crxs)
{
    CTQWallData wall;
    wall.m_strBSCName = code.Name;
    wall.m_nBSCId = code.GetID();
    CTQBoundingStructure layerSet;
    GetBS(layerSet, code.GetID());
    wall.SetTimbering(LayersOf(layerSet), false);
    if (calculate) {
        wall.SetDjWHrXsData(crxs.m_dDjWHrXs, false);
        wall.SetWHrXsData(crxs.m_dWHrXs, false);
        wall.SetNHrXsData(crxs.m_dNHrXs, false);
        wall.Cal(1);
        wall.Cal(0);
    }
    return wall;
}

QString CTQBSDataAdmin::GetBSDemoBMPPath(CTQBSType& type, CTQBSCode& code)
{
    return CTQUserWork::GetUserWork()->GetWallBmpDir() + TQLoad::SafeFileName(type.Name) + QLatin1Char('/') +
           TQLoad::SafeFileName(code.Name) + QStringLiteral(".jpg");
}

QString CTQBSDataAdmin::GetBSTDemoBMPPath(CTQBSType& type)
{
    return CTQEnviroment::GetEnviroment()->GetWallBmpDir() + TQLoad::SafeFileName(type.Name) + QStringLiteral(".jpg");
}

// ---------------------------------------------------------------------------------------------
// Deletion
//
// Each deletion runs in one transaction: it deletes everything or, when a statement fails,
// nothing. Demo pictures go after the commit (files are not part of a transaction).

namespace {

/// A transaction on the library that rolls back unless committed.
class DeletionTransaction
{
public:
    DeletionTransaction() : m_pDatabase(LibraryDatabase()), m_bOpen(m_pDatabase && m_pDatabase->BeginTransaction()) {}
    ~DeletionTransaction()
    {
        if (m_bOpen)
            m_pDatabase->RollbackTransaction();
    }
    DeletionTransaction(const DeletionTransaction&) = delete;
    DeletionTransaction& operator=(const DeletionTransaction&) = delete;

    bool IsOpen() const { return m_bOpen; }
    bool Execute(const QString& sql, const QVariantList& values) { return m_bOpen && m_pDatabase->Execute(sql, values); }
    bool Commit()
    {
        if (!m_bOpen || !m_pDatabase->CommitTransaction())
            return false;
        m_bOpen = false;
        return true;
    }

private:
    CADODatabase* m_pDatabase;
    bool m_bOpen;
};

/// Deletes the construction rows `codeFilter` selects (a condition on the construction table with
/// one bound value) and their layer sets; `failedTable` names the table whose delete failed.
bool DeleteConstructionRows(DeletionTransaction& transaction, const QString& codeFilter, const QVariant& value,
                            QString* failedTable)
{
    const QString codeTable = CTQBSCode().GetTableName();
    const QString layerTable = CTQBoundingStructure().GetTableName();
    // Layer sets first: their condition reads the construction rows.
    if (!transaction.Execute(
            QStringLiteral("DELETE FROM %1 WHERE BSCId IN (SELECT ID FROM %2 WHERE %3)").arg(layerTable, codeTable, codeFilter),
            {value})) {
        *failedTable = layerTable;
        return false;
    }
    if (!transaction.Execute(QStringLiteral("DELETE FROM %1 WHERE %2").arg(codeTable, codeFilter), {value})) {
        *failedTable = codeTable;
        return false;
    }
    return true;
}

/// Whether a construction of that type and name is still stored (it then keeps the picture that
/// both names share); true also when that cannot be told, so no picture goes by mistake.
bool PictureStillUsed(const CTQBSCode& code)
{
    CADORecordset rows;
    return !rows.Open(LibraryDatabase(),
                      QStringLiteral("SELECT ID FROM %1 WHERE COALESCE(BSTId, 0) = ? AND COALESCE(Name, '') = ? LIMIT 1")
                          .arg(code.GetTableName()),
                      {code.BSTId, code.Name.isNull() ? QStringLiteral("") : code.Name}) ||
           rows.GetRecordCount() > 0;
}

} // namespace

int CTQBSDataAdmin::DeleteBSCode(CTQBSCode& code, QString& message)
{
    // The stored names say where the picture is; a construction already gone still loses its
    // layer sets.
    CTQBSCode stored;
    const bool known = stored.ReadData(code.GetID(), nullptr);
    CTQBSType type;
    const bool typeKnown = known && type.ReadData(stored.BSTId, nullptr);

    DeletionTransaction transaction;
    QString failedTable = code.GetTableName();
    if (!transaction.IsOpen() ||
        !DeleteConstructionRows(transaction, QStringLiteral("ID = ?"), code.GetID(), &failedTable) ||
        !transaction.Commit()) {
        message = DeleteErrorText(failedTable);
        ShowMessage(message, QMessageBox::Critical);
        return 1;
    }
    if (typeKnown && !PictureStillUsed(stored))
        QFile::remove(GetBSDemoBMPPath(type, stored));
    return 0;
}

int CTQBSDataAdmin::DeleteBSType(CTQBSType& type)
{
    CTQBSType stored;
    const bool known = stored.ReadData(type.GetID(), nullptr);

    DeletionTransaction transaction;
    const QString typeTable = type.GetTableName();
    QString failedTable = typeTable;
    if (!transaction.IsOpen() ||
        !DeleteConstructionRows(transaction, QStringLiteral("BSTId = ?"), type.GetID(), &failedTable) ||
        !transaction.Execute(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(typeTable), {type.GetID()}) ||
        !transaction.Commit()) {
        ShowMessage(DeleteErrorText(failedTable), QMessageBox::Critical);
        return 0;
    }
    // The type's constructions are gone, and with them the folder of their pictures. Type names
    // are unique, so no other type shares it.
    if (known)
        QDir(CTQUserWork::GetUserWork()->GetWallBmpDir() + TQLoad::SafeFileName(stored.Name)).removeRecursively();
    return 1;
}

int CTQBSDataAdmin::DeleteTimbering(CTQTimbering& material, QString& message)
{
    // A layer set uses the material when its ID is a whole element of the list: the whole list,
    // its first, its last or a middle element; 12 is not found in "112,5". Layer sets left behind
    // by a construction or type that no longer exists use nothing: no one can see or mend them.
    const QString id = QString::number(material.GetID());
    const QString layerTable = CTQBoundingStructure().GetTableName();
    const QString codeTable = CTQBSCode().GetTableName();
    const QString typeTable = CTQBSType().GetTableName();
    DeletionTransaction transaction;
    CADORecordset users;
    const QString usage =
        QStringLiteral("SELECT l.BSCId AS BSCId, l.TIdS AS TIdS FROM %1 l JOIN %2 c ON c.ID = l.BSCId "
                       "JOIN %3 t ON t.ID = c.BSTId WHERE l.TIdS = ? OR l.TIdS LIKE ? OR l.TIdS LIKE ? "
                       "OR l.TIdS LIKE ? ORDER BY l.ID LIMIT 1")
            .arg(layerTable, codeTable, typeTable);
    if (!transaction.IsOpen() ||
        !users.Open(LibraryDatabase(), usage, {id, QStringLiteral("%,") + id, id + QStringLiteral(",%"),
                                                QStringLiteral("%,") + id + QStringLiteral(",%")})) {
        ShowMessage(DatabaseErrorText(), QMessageBox::Critical);
        return 2;
    }
    if (users.GetRecordCount() > 0) {
        int bscId = 0;
        users.GetFieldValue(QStringLiteral("BSCId"), bscId);
        CTQBSCode code;
        if (!code.ReadData(bscId, nullptr)) {
            ShowMessage(DatabaseErrorText(), QMessageBox::Critical);
            return 3;
        }
        CTQBSType type;
        if (!type.ReadData(code.BSTId, nullptr))
            return 4;
        ShowMessage(QStringLiteral("围护结构 [%1] - [%2] 用到了该材质！").arg(type.Name, code.Name), QMessageBox::Warning);
        return 5;
    }
    const QString materialTable = material.GetTableName();
    if (!transaction.Execute(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(materialTable), {material.GetID()}) ||
        !transaction.Commit()) {
        message = DeleteErrorText(materialTable);
        ShowMessage(message, QMessageBox::Critical);
        return 1;
    }
    return 0;
}

int CTQBSDataAdmin::DeleteTimberingType(CTQTimberingType& type)
{
    DeletionTransaction transaction;
    CADORecordset materials;
    if (!transaction.IsOpen() ||
        !materials.Open(LibraryDatabase(),
                        QStringLiteral("SELECT ID FROM %1 WHERE TTId = ? LIMIT 1").arg(CTQTimbering().GetTableName()),
                        {type.GetID()})) {
        ShowMessage(DatabaseErrorText(), QMessageBox::Critical);
        return 0;
    }
    if (materials.GetRecordCount() > 0) {
        ShowMessage(QStringLiteral("请先删除该分类下的材质！"), QMessageBox::NoIcon);
        return 0;
    }
    const QString typeTable = type.GetTableName();
    if (!transaction.Execute(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(typeTable), {type.GetID()}) ||
        !transaction.Commit()) {
        ShowMessage(DeleteErrorText(typeTable), QMessageBox::Critical);
        return 0;
    }
    return 1;
}
