#pragma once

#include "TQWallExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class CADODatabase;
class QJsonObject;

/// Exchange files of the library: constructions with the materials they use, or materials alone,
/// as versioned JSON that names every reference by name and province (never by database ID), so
/// a file moves between libraries whose IDs differ. Numbers keep full precision; NaN is null.
///
/// An import is checked whole before it writes: the file's form, then every name against the
/// library (MakePlan). Import() repeats the check and writes everything in one transaction, or
/// nothing when any part fails. Existing entries are matched by key (construction: name, type and
/// province; material: name and province); a material equal in value to a stored one under another
/// name is taken as that one. No widgets here: the command line and the dialogs share it.
class TQWALL_EXPORT CTQLibraryExchange
{
public:
    static constexpr int kFormatVersion = 1;

    /// What an export holds.
    enum ESelection
    {
        Sel_All,          ///< every construction, type and material of the library
        Sel_Type,         ///< the constructions of the type named
        Sel_Category,     ///< the types of the category named and their constructions
        Sel_Province,     ///< the constructions of the province named
        Sel_Common,       ///< the common constructions
        Sel_Construction, ///< one construction, by ID
        Sel_Materials,    ///< every material, no construction
    };

    /// What an import does with an entry whose key the library holds with other content.
    enum EDuplicate
    {
        Dup_Skip,    ///< keep the stored one
        Dup_Rename,  ///< add the incoming one as "name (2)"
        Dup_Replace, ///< write the incoming content over the stored one
    };

    /// What an import adds, leaves alone and finds in conflict; every entry a readable line.
    struct TQPlan
    {
        QStringList added;      ///< new constructions, types and materials
        QStringList equal;      ///< stored with equal content, left alone
        QStringList conflicts;  ///< stored under the same key with other content
        QStringList sameValues; ///< materials taken as a stored one of equal values and another name
        bool IsEmpty() const { return added.isEmpty() && conflicts.isEmpty(); }
    };

    /// A null database means the library database of the settings.
    explicit CTQLibraryExchange(CADODatabase* database = nullptr);
    ~CTQLibraryExchange();
    CTQLibraryExchange(const CTQLibraryExchange&) = delete;
    CTQLibraryExchange& operator=(const CTQLibraryExchange&) = delete;

    /// Writes the selection to `path`; `name` names the type, category or province, `id` the
    /// construction. False with GetErrorText() set when nothing matches or a read or write fails.
    bool Export(ESelection selection, const QString& name, int id, const QString& path);
    /// The same as the file's text.
    bool ExportDocument(ESelection selection, const QString& name, int id, QByteArray* json);

    /// Reads and checks a file's form; `source` names it in messages.
    bool ReadFile(const QString& path);
    bool ReadDocument(const QByteArray& json, const QString& source);
    /// Checks what was read against the library and says what an import with `policy` would do.
    bool MakePlan(EDuplicate policy);
    const TQPlan& GetPlan() const { return m_Plan; }
    /// Imports what was read in one transaction: all or nothing. The plan then says what was done.
    bool Import(EDuplicate policy);
    /// Demo pictures that could not be written after the import (the records stand).
    const QStringList& GetWarnings() const { return m_Warnings; }

    const QString& GetErrorText() const { return m_strError; }

    static bool ParseDuplicatePolicy(const QString& text, EDuplicate* policy);

private:
    struct TQData; // the file's entries, the library's names and what the plan decided for each

    bool CollectExport(ESelection selection, const QString& name, int id, QJsonObject* document);
    bool ReadMaterials(const QJsonObject& document);
    bool ReadTypes(const QJsonObject& document);
    bool ReadConstructions(const QJsonObject& document);
    bool LoadLibraryNames();
    bool PlanMaterials(EDuplicate policy);
    bool PlanTypes();
    bool PlanConstructions(EDuplicate policy);
    bool ResolveLayers(qsizetype index, QList<int>* materialIds);
    bool SameLayers(int codeId, qsizetype index, const QList<int>& materialIds);
    bool WriteMaterials();
    bool WriteTypes();
    bool WriteConstructions();
    void WritePictures();
    bool Fail(const QString& place, const QString& what);

    CADODatabase* m_pDatabase;
    QString m_strSource;
    QString m_strError;
    std::unique_ptr<TQData> m_pData;
    TQPlan m_Plan;
    QStringList m_Warnings;
};
