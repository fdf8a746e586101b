#pragma once

#include "TQWallExport.h"
#include "host/walldata/CTQCrXs.h"
#include "host/walldata/CTQWallData.h"
#include "host/thermal/TQArray.h"
#include "library/CTQBSSectionPicture.h"
#include "library/TQBSNodeType.h"
#include "records/CTQBSCategory.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQBoundingStructure.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantList>

#include <optional>

/// The library manager: loads the construction and material libraries into node trees, finds
/// and selects nodes, lists the constructions of a type as evaluated wall data, composes the
/// demo-picture paths and deletes records after checking what still uses them.
///
/// The manager owns every node of both trees; node pointers it hands out stay valid until that
/// tree is rebuilt or released, or the manager is destroyed. Managers are not copied.
class TQWALL_EXPORT CTQBSDataAdmin
{
public:
    /// A node of the construction or material tree.
    struct TQWALL_EXPORT tagBSNode
    {
        tagBSNode() = default;
        /// Appends the new node to `parent`'s children when a parent is given.
        tagBSNode(const QString& name, int id, tagBSNode* parent, int expand, int commonFlag,
                  TQLoad::EBSNodeType nodeType);
        tagBSNode(const tagBSNode&) = delete;
        tagBSNode& operator=(const tagBSNode&) = delete;

        QString Name;
        int Expand = 1;     ///< non-zero: shown expanded once its children are in
        int ID = 0;         ///< ID of the record the node stands for; 0 for a label
        int CommonFlag = 0; ///< 1 on the common subtrees and on the roots
        TQLoad::EBSNodeType NodeType = TQLoad::BSN_Label;
        tagBSNode* Parent = nullptr;
        CTQArray<tagBSNode*> Children;
    };

    /// The process-wide manager, for the host; the dialogs own managers of their own.
    static CTQBSDataAdmin* GetBSDataManager();

    CTQBSDataAdmin();
    virtual ~CTQBSDataAdmin();
    CTQBSDataAdmin(const CTQBSDataAdmin&) = delete;
    CTQBSDataAdmin& operator=(const CTQBSDataAdmin&) = delete;

    /// Root "所有分类" of the construction tree: built from the database when `rebuild` is
    /// non-zero or no tree exists, otherwise the existing tree without any database access.
    virtual tagBSNode* GetBSNodes(int rebuild);
    /// The same for the material tree.
    virtual tagBSNode* GetTimbNodes(int rebuild);

    /// Sets the common mode and returns the heading of the common ("常用围护结构") or of all
    /// constructions ("所有围护结构"); null when the tree was never built.
    tagBSNode* SelectBSNode(int common);
    /// The material heading of the common mode, or of m_TimbProvince (all materials for ID 0);
    /// builds the material tree when it is absent.
    tagBSNode* SelectTimbNode(int common);

    tagBSNode* FindBSDLNode(tagBSNode* parent, CTQBSCategory& category);
    tagBSNode* FindBSTNode(tagBSNode* parent, CTQBSCategory& category, CTQBSType& type);
    tagBSNode* FindBSCNode(tagBSNode* parent, CTQBSCategory& category, CTQBSType& type, CTQBSCode& code);
    /// Material type node of the common subtree whose caption equals the key's exactly.
    tagBSNode* FindTimbTypeNode(tagBSNode& key);
    /// Child of `parent` standing for the type's ID.
    tagBSNode* FindTimbTypeNode(tagBSNode* parent, CTQTimberingType type);
    /// Material under the common type node of `typeKey` whose caption equals the key's,
    /// ignoring case.
    tagBSNode* FindTimbNode(tagBSNode& typeKey, tagBSNode& key);

    /// Frees both trees.
    void Release();

    /// Reads the layer set of construction `bscId` into `layers` (reset when there is none), with
    /// its materials: two statements. Always 1.
    int GetBS(CTQBoundingStructure& layers, const int& bscId);
    /// The constructions of `type` in the list mode of m_bBSCommon and m_BSProvince, as wall data
    /// with their layers, evaluated with `crxs` when `calculate` is true. Two statements (the
    /// constructions with their layer sets, the materials), however many constructions.
    void GetBSCodeCWallDataAry(const CTQBSType& type, CTQArray<CTQWallData>& wallDatas, bool calculate,
                               const CTQCrXs& crxs);
    /// The constructions of many types at once, keyed by type ID: each type's as
    /// GetBSCodeCWallDataAry lists them in the list mode of m_bBSCommon and m_BSProvince; only the
    /// types of category `categoryId` unless it is 0. A type without constructions has no entry.
    /// Two statements, however many types and constructions.
    void GetBSCodeCWallDataAryOfTypes(int categoryId, QHash<int, CTQArray<CTQWallData>>& wallDatas, bool calculate,
                                      const CTQCrXs& crxs);
    /// Every construction of the library, keyed by province ID (0: national) and type ID, each
    /// list as GetBSCodeCWallDataAry gives it for that province. Two statements.
    void GetAllBSCodeCWallDataAry(QHash<int, QHash<int, CTQArray<CTQWallData>>>& wallDatas, bool calculate,
                                  const CTQCrXs& crxs);
    /// One construction as wall data: name, ID and its stored layers (metres), evaluated with
    /// `crxs` when `calculate` is true (Cal(1) then Cal(0), so all five results are current).
    CTQWallData GetBSCodeWallData(const CTQBSCode& code, bool calculate, const CTQCrXs& crxs);
    /// The materials of `ids`, one for each ID in the same order, read with one statement: an ID
    /// without a material gives an empty material (ID 0), as a read by ID leaves it. Every call
    /// reads afresh.
    CTQArray<CTQTimbering> GetTimberings(const QList<int>& ids);
    /// Path of the construction's own picture in the user's picture folder.
    QString GetBSDemoBMPPath(CTQBSType& type, CTQBSCode& code);
    /// Path of the type's picture in the installed picture folder.
    QString GetBSTDemoBMPPath(CTQBSType& type);
    /// The picture that stands for a construction: its own picture file; else its section drawn from
    /// `layers` (those stored, or those being edited), so that a construction without a picture of its
    /// own shows what it is made of; else its type's picture. A null image when there is none.
    QImage GetBSDemoImage(CTQBSType& type, CTQBSCode& code, const QString& categoryName,
                          const QList<CTQBSSectionPicture::Layer>& layers, const QString& provinceName = QString());

    /// Stores `copy` under its name prefixed with `prefix` (the prefix repeated while the name is
    /// taken in its type and province; a taken name's record is loaded by the take-over) and
    /// `layers` as its layer set, in one transaction: true when both are stored, false and nothing
    /// stored when a step fails.
    bool CopyBSCode(CTQBSCode& copy, CTQBoundingStructure& layers, const QString& prefix);
    /// Deletes a construction and its layer set: 0 deleted, 1 failed (`message` says why).
    int DeleteBSCode(CTQBSCode& code, QString& message);
    /// Deletes a type and all its constructions: 1 deleted, 0 failed.
    int DeleteBSType(CTQBSType& type);
    /// Deletes a material unless a layer set uses it: 0 deleted; 1 delete failed, 2 usage check
    /// failed, 3 user construction unreadable, 4 its type unreadable, 5 in use.
    int DeleteTimbering(CTQTimbering& material, QString& message);
    /// Deletes a material type that holds no material: 1 deleted, 0 not.
    int DeleteTimberingType(CTQTimberingType& type);

    CTQWallProvince m_BSProvince;   ///< province listed when not in common mode; ID 0: national
    CTQWallProvince m_TimbProvince; ///< province used by SelectTimbNode
    int m_bBSCommon = 0;            ///< non-zero: lists show a type's common constructions

protected:
    void ReleaseBSNodes(tagBSNode* node);
    void ReleaseTimbNodes(tagBSNode* node);

private:
    // The rows the trees are made of, each table read with one statement (defined with the
    // builders).
    struct tagBSTreeRows;
    struct tagTimbRow;
    struct tagTimbTreeRows;
    static tagBSTreeRows ReadBSTreeRows();
    static tagTimbTreeRows ReadTimbTreeRows();

    int MakeBSNodes(const tagBSTreeRows& rows);
    int MakeBSCommonNodes(const tagBSTreeRows& rows);
    int MakeBSProvinceNodes(const tagBSTreeRows& rows);
    int MakeProvinceSubNode(tagBSNode* node, const tagBSTreeRows& rows);
    int MakeTimbNodes(const tagTimbTreeRows& rows);
    int MakeTimbCommonNodes(const tagTimbTreeRows& rows);
    int MakeTimbProvinceNodes(const tagTimbTreeRows& rows);
    int MakeTimbProvinceSubNode(tagBSNode* node, const tagTimbTreeRows& rows);

    /// Type nodes of `types` under their category nodes among `categoryParent`'s children; a type
    /// whose category is missing is skipped.
    void PlaceTypesUnderCategories(const QList<CTQBSType>& types, tagBSNode* categoryParent, int commonFlag);
    /// Names, in one message, the types whose category does not exist (the tree cannot show them)
    /// and that this manager has not reported yet.
    void ReportTypesWithoutCategory(const tagBSTreeRows& rows);
    /// A construction heading with `categories` and the `types` (ordered by category) under
    /// them; nothing stands for a read that failed.
    int MakeConstructionSubtree(const QString& caption, int expand, int commonFlag,
                                const std::optional<QList<CTQBSCategory>>& categories,
                                const std::optional<QList<CTQBSType>>& types);
    /// A material heading with the types and materials whose rows pass `passes`.
    int MakeMaterialSubtree(const QString& caption, int expand, int commonFlag, const tagTimbTreeRows& rows,
                            bool (tagTimbRow::*passes)() const);
    /// The condition on the construction table of the list mode, its values appended to `values`.
    QString ListModeCondition(QVariantList& values) const;
    static void ReleaseSubtree(tagBSNode* node);

    tagBSNode* m_pBSRoot = nullptr;
    tagBSNode* m_pTimbRoot = nullptr;
    QSet<int> m_ReportedOrphanTypes; ///< types without a category that a message has named
    tagBSNode* m_pCurBSNode = nullptr;
    tagBSNode* m_pCurTimbNode = nullptr;
};

/// The node type under its own name, as the dialogs use it.
using tagBSNode = CTQBSDataAdmin::tagBSNode;
