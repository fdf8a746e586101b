#include "library/CTQBSDataAdmin.h"

#include "library/CTQMaterialUsage.h"
#include "library/CTQTimberingVapour.h"

#include "host/db/CADODatabase.h"
#include "host/db/CADORecordset.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/core/CTQEnviroment.h"
#include "host/ui/CPictureEx.h"
#include "host/ui/CTQUiService.h"
#include "host/core/CTQUserWork.h"
#include "host/core/TQPicturePath.h"
#include "records/CTQTimberingMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <functional>
#include <limits>
#include <utility>

using TQLoad::EBSNodeType;

namespace {

// Material types 16, 17 and 18 are kept out of every material tree; their rows stay readable
// by ID.
const QString kHiddenMaterialTypes = QStringLiteral("(16,17,18)");

CADODatabase* LibraryDatabase()
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase();
}

QString DeleteErrorText(const QString& table)
{
    return CTQDBGlobalSetting::GetGlobalSetting()->DescribeFailure(QStringLiteral("删除表 \"%1\" 时出错！").arg(table));
}

void ShowMessage(const QString& text, QMessageBox::Icon icon)
{
    CTQUiService::Instance().MessageBox(nullptr, text, icon);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The rows the trees are made of
//
// Each table is read with one statement whatever the library's size; the subtrees are made from
// these rows in memory, with the row sets and orders their own statements would give.

namespace {

// Rows of `sql` (its %1 is the record's table) as records, in statement order; nothing when the
// statement failed.
template <class Record>
std::optional<QList<Record>> ReadTableRows(const QString& sql)
{
    Record record;
    CADORecordset rows;
    if (!record.ExecSql(sql.arg(record.GetTableName()), &rows, LibraryDatabase()))
        return std::nullopt;
    QList<Record> records;
    records.reserve(rows.GetRecordCount());
    for (unsigned int row = 0; row < rows.GetRecordCount(); ++row, rows.MoveNext()) {
        Record read;
        read.MakeObjectFromRS(rows);
        records.append(read);
    }
    return records;
}

// An integer column of the current row; nothing when it holds no number, NULL included (a NULL
// equals no value in SQL).
std::optional<int> IntField(const CADORecordset& rows, const QString& column)
{
    int value = 0;
    return rows.GetFieldValue(column, value) ? std::optional<int>(value) : std::nullopt;
}

template <class Record>
QList<Record> SortedById(QList<Record> records)
{
    std::stable_sort(records.begin(), records.end(),
                     [](const Record& a, const Record& b) { return a.GetID() < b.GetID(); });
    return records;
}

} // namespace

/// What the construction tree is made of.
struct CTQBSDataAdmin::tagBSTreeRows
{
    std::optional<QList<CTQBSCategory>> categories;  ///< by OrderId, then ID
    std::optional<QList<CTQBSType>> types;           ///< by category, then ID
    bool codesRead = false;                          ///< the three sets below are known
    QSet<int> nationalTypes;                         ///< types with a construction of province 0
    QSet<int> commonTypes;                           ///< types with a common construction
    QHash<int, QSet<int>> provinceTypes;             ///< province ID: types with a construction there
    std::optional<QList<CTQWallProvince>> provinces; ///< by ID

    /// The types whose IDs are in `ids`, in the order of the type rows; nothing when the types
    /// or the constructions could not be read.
    std::optional<QList<CTQBSType>> TypesIn(const QSet<int>& ids) const
    {
        if (!types || !codesRead)
            return std::nullopt;
        QList<CTQBSType> chosen;
        for (const CTQBSType& type : *types) {
            if (ids.contains(type.GetID()))
                chosen.append(type);
        }
        return chosen;
    }
};

/// A material row and the columns the subtrees filter on; a NULL column passes no filter.
struct CTQBSDataAdmin::tagTimbRow
{
    CTQTimbering Material;
    std::optional<int> ProvinceID;
    std::optional<int> CommonFlag;

    bool IsNational() const { return ProvinceID == 0; }
    bool IsCommon() const { return CommonFlag && *CommonFlag != 0; }
    bool IsOfProvince(int provinceId) const { return CommonFlag == 0 && ProvinceID == provinceId; }
};

/// What the material tree is made of, material types 16 to 18 and their materials left out.
struct CTQBSDataAdmin::tagTimbTreeRows
{
    std::optional<QList<CTQTimberingType>> types;    ///< by ID
    std::optional<QList<tagTimbRow>> materials;      ///< by ID
    std::optional<QList<CTQWallProvince>> provinces; ///< by ID
};

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
    const tagBSTreeRows rows = ReadBSTreeRows();
    ReportTypesWithoutCategory(rows);
    MakeBSNodes(rows);
    MakeBSCommonNodes(rows);
    MakeBSProvinceNodes(rows);
    return m_pBSRoot;
}

tagBSNode* CTQBSDataAdmin::GetTimbNodes(int rebuild)
{
    if (!rebuild && m_pTimbRoot)
        return m_pTimbRoot;
    ReleaseTimbNodes(m_pTimbRoot);
    m_pCurTimbNode = nullptr;
    m_pTimbRoot = new tagBSNode(QStringLiteral("所有分类"), 0, nullptr, 1, 1, TQLoad::BSN_Label);
    const tagTimbTreeRows rows = ReadTimbTreeRows();
    MakeTimbNodes(rows);
    MakeTimbCommonNodes(rows);
    MakeTimbProvinceNodes(rows);
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

CTQBSDataAdmin::tagBSTreeRows CTQBSDataAdmin::ReadBSTreeRows()
{
    tagBSTreeRows rows;
    rows.categories = ReadTableRows<CTQBSCategory>(QStringLiteral("SELECT * FROM %1 ORDER BY OrderId, ID"));
    rows.types = ReadTableRows<CTQBSType>(QStringLiteral("SELECT * FROM %1 ORDER BY BSDLId, ID"));
    // Which types have national, common and per-province constructions: a row for each type,
    // province and common flag that occur, however many constructions share them.
    CTQBSCode code;
    CADORecordset codes;
    // (Province first: SQLite then reads the table straight through instead of by the type index.)
    rows.codesRead = code.ExecSql(QStringLiteral("SELECT DISTINCT ProvinceId, BSTId, CASE WHEN CommonFlag <> 0 THEN 1 "
                                                 "ELSE 0 END AS IsCommon FROM %1")
                                      .arg(code.GetTableName()),
                                  &codes, LibraryDatabase());
    for (unsigned int row = 0; rows.codesRead && row < codes.GetRecordCount(); ++row, codes.MoveNext()) {
        const std::optional<int> typeId = IntField(codes, QStringLiteral("BSTId"));
        const std::optional<int> provinceId = IntField(codes, QStringLiteral("ProvinceId"));
        if (!typeId)
            continue;
        if (IntField(codes, QStringLiteral("IsCommon")).value_or(0) != 0)
            rows.commonTypes.insert(*typeId);
        if (provinceId == 0)
            rows.nationalTypes.insert(*typeId);
        if (provinceId)
            rows.provinceTypes[*provinceId].insert(*typeId);
    }
    rows.provinces = ReadTableRows<CTQWallProvince>(QStringLiteral("SELECT * FROM %1 ORDER BY ID"));
    return rows;
}

void CTQBSDataAdmin::PlaceTypesUnderCategories(const QList<CTQBSType>& types, tagBSNode* categoryParent, int commonFlag)
{
    // Type rows come ordered by category: the category node is looked up again only when the
    // category changes (and, after a miss, for every row until one is found). A type whose category
    // is missing (GetBSNodes reports it) is left out and the others are placed.
    tagBSNode* categoryNode = nullptr;
    int categoryId = 0;
    for (const CTQBSType& type : types) {
        if (!categoryNode || type.BSDLId != categoryId) {
            CTQBSCategory key;
            key.SetID(type.BSDLId);
            categoryNode = FindBSDLNode(categoryParent, key);
            categoryId = type.BSDLId;
        }
        if (categoryNode)
            new tagBSNode(type.Name, type.GetID(), categoryNode, 0, commonFlag, TQLoad::BSN_BSType);
    }
}

void CTQBSDataAdmin::ReportTypesWithoutCategory(const tagBSTreeRows& rows)
{
    if (!rows.categories || !rows.types)
        return;
    QSet<int> categoryIds;
    for (const CTQBSCategory& category : *rows.categories)
        categoryIds.insert(category.GetID());
    QStringList names;
    for (const CTQBSType& type : *rows.types) {
        if (!categoryIds.contains(type.BSDLId) && !m_ReportedOrphanTypes.contains(type.GetID())) {
            m_ReportedOrphanTypes.insert(type.GetID());
            names.append(type.Name);
        }
    }
    // Once per type and manager: the tree is rebuilt after every change, the message need not be.
    if (!names.isEmpty())
        ShowMessage(QStringLiteral("没找到围护结构的大类？！\n%1").arg(names.join(QStringLiteral("、"))),
                    QMessageBox::Critical);
}

int CTQBSDataAdmin::MakeConstructionSubtree(const QString& caption, int expand, int commonFlag,
                                            const std::optional<QList<CTQBSCategory>>& categories,
                                            const std::optional<QList<CTQBSType>>& types)
{
    m_pCurBSNode = new tagBSNode(caption, 0, m_pBSRoot, expand, commonFlag, TQLoad::BSN_Label);
    if (!categories || categories->isEmpty())
        return 0;
    for (const CTQBSCategory& category : *categories)
        new tagBSNode(category.Name, category.GetID(), m_pCurBSNode, 0, commonFlag, TQLoad::BSN_BSCategory);
    if (!types)
        return 0;
    PlaceTypesUnderCategories(*types, m_pCurBSNode, commonFlag);
    return 1;
}

int CTQBSDataAdmin::MakeBSNodes(const tagBSTreeRows& rows)
{
    // Every category by its order; under it the types that have national constructions.
    return MakeConstructionSubtree(QStringLiteral("所有围护结构"), 0, 0, rows.categories,
                                   rows.TypesIn(rows.nationalTypes));
}

int CTQBSDataAdmin::MakeBSCommonNodes(const tagBSTreeRows& rows)
{
    // The categories (by ID) and types that hold a common construction of any province.
    const std::optional<QList<CTQBSType>> types = rows.TypesIn(rows.commonTypes);
    std::optional<QList<CTQBSCategory>> categories;
    if (rows.categories && types) {
        QSet<int> categoryIds;
        for (const CTQBSType& type : *types)
            categoryIds.insert(type.BSDLId);
        categories.emplace();
        for (const CTQBSCategory& category : SortedById(*rows.categories)) {
            if (categoryIds.contains(category.GetID()))
                categories->append(category);
        }
    }
    return MakeConstructionSubtree(QStringLiteral("常用围护结构"), 1, 1, categories, types);
}

int CTQBSDataAdmin::MakeBSProvinceNodes(const tagBSTreeRows& rows)
{
    m_pCurBSNode = new tagBSNode(QStringLiteral("所有省份"), 0, m_pBSRoot, 1, 0, TQLoad::BSN_Label);
    if (!rows.provinces)
        return 0;
    // Every province holds every category, by ID.
    const QList<CTQBSCategory> categories = rows.categories ? SortedById(*rows.categories) : QList<CTQBSCategory>();
    for (const CTQWallProvince& province : *rows.provinces) {
        tagBSNode* provinceNode =
            new tagBSNode(province.Name, province.GetID(), m_pCurBSNode, 0, 0, TQLoad::BSN_Province);
        if (!rows.categories)
            return 0;
        if (categories.isEmpty())
            continue;
        for (const CTQBSCategory& category : categories)
            new tagBSNode(category.Name, category.GetID(), provinceNode, 0, 0, TQLoad::BSN_BSCategory);
        MakeProvinceSubNode(provinceNode, rows);
    }
    return 1;
}

int CTQBSDataAdmin::MakeProvinceSubNode(tagBSNode* node, const tagBSTreeRows& rows)
{
    if (!node)
        return 0;
    const std::optional<QList<CTQBSType>> types = rows.TypesIn(rows.provinceTypes.value(node->ID));
    if (!types)
        return 0;
    PlaceTypesUnderCategories(*types, node, 0);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Material tree

CTQBSDataAdmin::tagTimbTreeRows CTQBSDataAdmin::ReadTimbTreeRows()
{
    tagTimbTreeRows rows;
    rows.types = ReadTableRows<CTQTimberingType>(QStringLiteral("SELECT * FROM %1 WHERE ID NOT IN ") +
                                                 kHiddenMaterialTypes + QStringLiteral(" ORDER BY ID"));
    CTQTimbering material;
    CADORecordset materials;
    if (material.ExecSql(QStringLiteral("SELECT * FROM %1 WHERE TTId NOT IN %2 ORDER BY ID")
                             .arg(material.GetTableName(), kHiddenMaterialTypes),
                         &materials, LibraryDatabase())) {
        rows.materials.emplace();
        rows.materials->reserve(materials.GetRecordCount());
        for (unsigned int row = 0; row < materials.GetRecordCount(); ++row, materials.MoveNext()) {
            tagTimbRow read;
            read.Material.MakeObjectFromRS(materials);
            read.ProvinceID = IntField(materials, QStringLiteral("ProvinceID"));
            read.CommonFlag = IntField(materials, QStringLiteral("CommonFlag"));
            rows.materials->append(read);
        }
    }
    rows.provinces = ReadTableRows<CTQWallProvince>(QStringLiteral("SELECT * FROM %1 ORDER BY ID"));
    return rows;
}

int CTQBSDataAdmin::MakeMaterialSubtree(const QString& caption, int expand, int commonFlag, const tagTimbTreeRows& rows,
                                        bool (tagTimbRow::*passes)() const)
{
    // Types that hold a material passing the filter, each with those materials, by ID.
    m_pCurTimbNode = new tagBSNode(caption, 0, m_pTimbRoot, expand, commonFlag, TQLoad::BSN_Label);
    if (!rows.types || !rows.materials)
        return 0;
    QHash<int, QList<const CTQTimbering*>> materialsOfType;
    for (const tagTimbRow& row : *rows.materials) {
        if ((row.*passes)())
            materialsOfType[row.Material.TTId].append(&row.Material);
    }
    for (const CTQTimberingType& type : *rows.types) {
        const QList<const CTQTimbering*> materials = materialsOfType.value(type.GetID());
        if (materials.isEmpty())
            continue;
        auto* typeNode =
            new tagBSNode(type.Name, type.GetID(), m_pCurTimbNode, 0, commonFlag, TQLoad::BSN_TimberingType);
        for (const CTQTimbering* material : materials)
            new tagBSNode(material->GetStuffName(), material->GetID(), typeNode, 0, commonFlag, TQLoad::BSN_Timbering);
    }
    return 1;
}

int CTQBSDataAdmin::MakeTimbNodes(const tagTimbTreeRows& rows)
{
    return MakeMaterialSubtree(QStringLiteral("所有材质"), 1, 0, rows, &tagTimbRow::IsNational);
}

int CTQBSDataAdmin::MakeTimbCommonNodes(const tagTimbTreeRows& rows)
{
    return MakeMaterialSubtree(QStringLiteral("常用材质"), 0, 1, rows, &tagTimbRow::IsCommon);
}

int CTQBSDataAdmin::MakeTimbProvinceNodes(const tagTimbTreeRows& rows)
{
    // The province heading does not become the current material node: after a build the common
    // heading stays current, which FindTimbTypeNode(key) searches.
    tagBSNode* heading = new tagBSNode(QStringLiteral("所有省份"), 0, m_pTimbRoot, 1, 0, TQLoad::BSN_Label);
    if (!rows.provinces)
        return 0;
    for (const CTQWallProvince& province : *rows.provinces) {
        tagBSNode* provinceNode = new tagBSNode(province.Name, province.GetID(), heading, 0, 0, TQLoad::BSN_Province);
        if (!rows.types)
            return 0;
        if (rows.types->isEmpty())
            continue;
        for (const CTQTimberingType& type : *rows.types)
            new tagBSNode(type.Name, type.GetID(), provinceNode, 0, 0, TQLoad::BSN_TimberingType);
        MakeTimbProvinceSubNode(provinceNode, rows);
    }
    return 1;
}

int CTQBSDataAdmin::MakeTimbProvinceSubNode(tagBSNode* node, const tagTimbTreeRows& rows)
{
    if (!node)
        return 0;
    if (!rows.materials)
        return 0;
    for (const tagTimbRow& row : *rows.materials) {
        if (!row.IsOfProvince(node->ID) || row.Material.TTId == 0)
            continue;
        CTQTimberingType key;
        key.SetID(row.Material.TTId);
        tagBSNode* typeNode = FindTimbTypeNode(node, key);
        if (!typeNode)
            continue;
        new tagBSNode(row.Material.GetName(), row.Material.GetID(), typeNode, 0, 0, TQLoad::BSN_Timbering);
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

// One construction as wall data: name, ID and layers, evaluated with `crxs` when `calculate` is
// true (Cal(1) then Cal(0), so all five results are current).
CTQWallData MakeWallData(const CTQBSCode& code, const CTQBoundingStructure& layerSet, bool calculate,
                         const CTQCrXs& crxs)
{
    CTQWallData wall;
    wall.m_strBSCName = code.Name;
    wall.m_nBSCId = code.GetID();
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

// Receives each listed construction: its record and its wall data.
using WallSink = std::function<void(const CTQBSCode& code, CTQWallData&& wall)>;

// The constructions that `condition` (a condition on the construction table written by the
// manager, never a user's value, with its bound `values`) selects, by ID, as wall data, each
// handed to `sink` in that order.
void ReadBSCodeWalls(const QString& condition, const QVariantList& values, bool calculate, const CTQCrXs& crxs,
                     const WallSink& sink)
{
    // Two statements however many constructions: the constructions joined with their layer sets,
    // and the materials these name. A construction gets the layer set that GetBS would read (its
    // first by ID; a library written elsewhere may hold more), with its materials as GetBS would
    // parse them; one without a layer set gets none.
    CTQBSCode code;
    CTQBoundingStructure layerSet;
    const QString where = condition.isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition;
    CADORecordset rows;
    if (!code.ExecSql(QStringLiteral("SELECT c.*, l.ID AS LayerSetID, l.BSCId, l.TIdS, l.HouDuS, l.XzXsS, "
                                     "l.HaveDemoBMP FROM %1 c LEFT JOIN %2 l ON l.BSCId = c.ID%3 ORDER BY c.ID, l.ID")
                          .arg(code.GetTableName(), layerSet.GetTableName(), where),
                      &rows, LibraryDatabase(), values))
        return;
    const unsigned int count = rows.GetRecordCount();
    // The first row of each construction; the rows after it hold its further layer sets.
    bool anyCode = false;
    int previousCode = 0;
    const auto isFirstOfCode = [&] {
        int id = 0;
        rows.GetFieldValue(QStringLiteral("ID"), id);
        if (anyCode && id == previousCode)
            return false;
        anyCode = true;
        previousCode = id;
        return true;
    };
    const auto loadLayerSet = [&rows, &layerSet] {
        layerSet.Init();
        const std::optional<int> layerSetId = IntField(rows, QStringLiteral("LayerSetID"));
        if (!layerSetId)
            return false;
        layerSet.GetListsFromRecordSet(rows);
        layerSet.SetID(*layerSetId);
        layerSet.ID = *layerSetId;
        return true;
    };

    QList<int> materialIds;
    for (unsigned int row = 0; row < count; ++row, rows.MoveNext()) {
        if (!isFirstOfCode())
            continue;
        if (loadLayerSet())
            materialIds.append(layerSet.GetStuffIDs());
    }
    CTQTimberingMap materials;
    materials.Read(materialIds, LibraryDatabase());

    rows.MoveFirst();
    anyCode = false;
    for (unsigned int row = 0; row < count; ++row, rows.MoveNext()) {
        if (!isFirstOfCode())
            continue;
        code.MakeObjectFromRS(rows);
        if (loadLayerSet())
            layerSet.MakeArray(materials);
        sink(code, MakeWallData(code, layerSet, calculate, crxs));
    }
}

} // namespace

QString CTQBSDataAdmin::ListModeCondition(QVariantList& values) const
{
    if (m_bBSCommon)
        return QStringLiteral("CommonFlag <> 0");
    values.append(m_BSProvince.GetID());
    return QStringLiteral("ProvinceId = ?");
}

void CTQBSDataAdmin::GetBSCodeCWallDataAry(const CTQBSType& type, CTQArray<CTQWallData>& wallDatas, bool calculate,
                                           const CTQCrXs& crxs)
{
    wallDatas.RemoveAll();
    QVariantList values{type.GetID()};
    const QString condition = QStringLiteral("BSTId = ? AND ") + ListModeCondition(values);
    ReadBSCodeWalls(condition, values, calculate, crxs,
                    [&](const CTQBSCode&, CTQWallData&& wall) { wallDatas.Add(std::move(wall)); });
}

void CTQBSDataAdmin::GetBSCodeCWallDataAryOfTypes(int categoryId, QHash<int, CTQArray<CTQWallData>>& wallDatas,
                                                  bool calculate, const CTQCrXs& crxs)
{
    wallDatas.clear();
    QVariantList values;
    QString condition = ListModeCondition(values);
    if (categoryId != 0) {
        condition +=
            QStringLiteral(" AND BSTId IN (SELECT ID FROM %1 WHERE BSDLId = ?)").arg(CTQBSType().GetTableName());
        values.append(categoryId);
    }
    ReadBSCodeWalls(condition, values, calculate, crxs,
                    [&](const CTQBSCode& code, CTQWallData&& wall) { wallDatas[code.BSTId].Add(std::move(wall)); });
}

void CTQBSDataAdmin::GetAllBSCodeCWallDataAry(QHash<int, QHash<int, CTQArray<CTQWallData>>>& wallDatas, bool calculate,
                                              const CTQCrXs& crxs)
{
    wallDatas.clear();
    ReadBSCodeWalls(QStringLiteral("ProvinceId IS NOT NULL"), {}, calculate, crxs,
                    [&](const CTQBSCode& code, CTQWallData&& wall) {
                        wallDatas[code.ProvinceId][code.BSTId].Add(std::move(wall));
                    });
}

CTQWallData CTQBSDataAdmin::GetBSCodeWallData(const CTQBSCode& code, bool calculate, const CTQCrXs& crxs)
{
    CTQBoundingStructure layerSet;
    GetBS(layerSet, code.GetID());
    return MakeWallData(code, layerSet, calculate, crxs);
}

CTQArray<CTQTimbering> CTQBSDataAdmin::GetTimberings(const QList<int>& ids)
{
    CTQTimberingMap materials;
    materials.Read(ids, LibraryDatabase());
    CTQArray<CTQTimbering> found;
    for (int id : ids)
        found.Add(materials.Get(id));
    return found;
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

QImage CTQBSDataAdmin::GetBSDemoImage(CTQBSType& type, CTQBSCode& code, const QString& categoryName,
                                      const QList<CTQBSSectionPicture::Layer>& layers, const QString& provinceName)
{
    const QString codePicture = GetBSDemoBMPPath(type, code);
    if (QFileInfo(codePicture).isFile())
        return CPictureEx::ReadImage(codePicture);
    if (!layers.isEmpty())
        return CTQBSSectionPicture::Draw(categoryName, type.Name, code.Name, layers, provinceName);
    const QString typePicture = GetBSTDemoBMPPath(type);
    return QFileInfo(typePicture).isFile() ? CPictureEx::ReadImage(typePicture) : QImage();
}

// ---------------------------------------------------------------------------------------------
// Deletion
//
// Each deletion, and each copy, runs in one transaction: it writes everything or, when a statement
// fails, nothing. Demo pictures go after the commit (files are not part of a transaction).

namespace {

/// A transaction on the library that rolls back unless committed.
class LibraryTransaction
{
public:
    LibraryTransaction() : m_pDatabase(LibraryDatabase()), m_bOpen(m_pDatabase && m_pDatabase->BeginTransaction()) {}
    ~LibraryTransaction()
    {
        if (m_bOpen)
            m_pDatabase->RollbackTransaction();
    }
    LibraryTransaction(const LibraryTransaction&) = delete;
    LibraryTransaction& operator=(const LibraryTransaction&) = delete;

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

} // namespace

bool CTQBSDataAdmin::CopyBSCode(CTQBSCode& copy, CTQBoundingStructure& layers, const QString& prefix)
{
    LibraryTransaction transaction;
    if (!transaction.IsOpen())
        return false;
    TQLoad::DBStatusCode status = TQLoad::DBS_Exist;
    while (status == TQLoad::DBS_Exist) {
        copy.Name.prepend(prefix);
        status = copy.AddIfNotExist(nullptr, 1);
    }
    if (status != TQLoad::DBS_Added)
        return false;
    layers.BSCId = copy.GetID();
    return layers.AddOrUpdate(nullptr) != TQLoad::DBS_Failed && transaction.Commit();
}

namespace {

/// Deletes the construction rows `codeFilter` selects (a condition on the construction table with
/// one bound value) and their layer sets; `failedTable` names the table whose delete failed.
bool DeleteConstructionRows(LibraryTransaction& transaction, const QString& codeFilter, const QVariant& value,
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

    LibraryTransaction transaction;
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

    LibraryTransaction transaction;
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
    // Only a construction the library shows can keep a material (CTQMaterialUsage says which).
    const QString layerTable = CTQBoundingStructure().GetTableName();
    const QString codeTable = CTQBSCode().GetTableName();
    const QString typeTable = CTQBSType().GetTableName();
    LibraryTransaction transaction;
    CADORecordset users;
    QVariantList values;
    const QString usage = QStringLiteral("SELECT l.BSCId AS BSCId, l.TIdS AS TIdS FROM %1 l JOIN %2 c ON c.ID = l.BSCId "
                                         "JOIN %3 t ON t.ID = c.BSTId WHERE %4 ORDER BY l.ID LIMIT 1")
                              .arg(layerTable, codeTable, typeTable,
                                   CTQMaterialUsage::ListHoldsCondition(QStringLiteral("l.TIdS"), material.GetID(), values));
    if (!transaction.IsOpen() || !users.Open(LibraryDatabase(), usage, values)) {
        ShowMessage(CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(), QMessageBox::Critical);
        return 2;
    }
    if (users.GetRecordCount() > 0) {
        int bscId = 0;
        users.GetFieldValue(QStringLiteral("BSCId"), bscId);
        CTQBSCode code;
        if (!code.ReadData(bscId, nullptr)) {
            ShowMessage(CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(), QMessageBox::Critical);
            return 3;
        }
        CTQBSType type;
        if (!type.ReadData(code.BSTId, nullptr))
            return 4;
        ShowMessage(QStringLiteral("围护结构 [%1] - [%2] 用到了该材质！").arg(type.Name, code.Name), QMessageBox::Warning);
        return 5;
    }
    const QString materialTable = material.GetTableName();
    const QString vapourTable = CTQTimberingVapour::GetTableName();
    if (!transaction.Execute(QStringLiteral("DELETE FROM %1 WHERE TId = ?").arg(vapourTable), {material.GetID()}) ||
        !transaction.Execute(QStringLiteral("DELETE FROM %1 WHERE ID = ?").arg(materialTable), {material.GetID()}) ||
        !transaction.Commit()) {
        message = DeleteErrorText(materialTable);
        ShowMessage(message, QMessageBox::Critical);
        return 1;
    }
    return 0;
}

int CTQBSDataAdmin::DeleteTimberingType(CTQTimberingType& type)
{
    LibraryTransaction transaction;
    CADORecordset materials;
    if (!transaction.IsOpen() ||
        !materials.Open(LibraryDatabase(),
                        QStringLiteral("SELECT ID FROM %1 WHERE TTId = ? LIMIT 1").arg(CTQTimbering().GetTableName()),
                        {type.GetID()})) {
        ShowMessage(CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(), QMessageBox::Critical);
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
