#pragma once

#include "TQWallExport.h"

#include <QHash>
#include <QString>
#include <QStringList>

class CADODatabase;
class CTQCsvReader;

/// Fills a new library with the default data: categories, provinces, material types,
/// materials, construction types and constructions with their layers, from the CSV files of the
/// installation's "seed" folder. Everything is written through the record classes in one
/// transaction, so a failed or interrupted fill leaves an empty library, never half of one.
class TQWALL_EXPORT CTQLibrarySeed
{
public:
    /// "<installed data folder>/seed/".
    static QString DefaultFolder();
    /// A library without any category has never been filled.
    static bool IsEmpty(CADODatabase* database);
    /// Opens the library of the settings (or `commandLinePath`), fills it when it is empty and
    /// makes it the library database of the settings. False with `error` set on failure;
    /// `duplicates` receives the keys an older library holds more than once (see
    /// CTQLibraryDatabase::Open).
    static bool OpenLibrary(const QString& commandLinePath, QString* error, QStringList* duplicates = nullptr);

    CTQLibrarySeed(CADODatabase* database, const QString& folder);

    /// Fills the library unless it was filled meanwhile (by another process); false with
    /// GetErrorText() naming the file and line that failed.
    bool Fill();
    /// Fills a new library with only what every library shares and an exchange file refers to by
    /// name: the categories, the provinces and the material types. No material, type or
    /// construction; the same transaction and the same refusal of a filled library as Fill().
    bool FillReferenceData();
    const QString& GetErrorText() const { return m_strError; }

private:
    bool FillAll();
    bool FillReferences();
    bool FillInTransaction(bool (CTQLibrarySeed::*fill)());
    bool ReadFile(const QString& name, const QStringList& columns, CTQCsvReader& reader);
    bool LoadCategories();
    bool LoadProvinces();
    bool LoadMaterialTypes();
    bool LoadMaterials();
    bool LoadMaterialVapour();
    bool LoadConstructionTypes();
    bool LoadConstructions();
    bool Fail(const CTQCsvReader& reader, qsizetype row, const QString& what);
    int ProvinceId(const QString& name, bool* ok) const;
    static QString MaterialKey(const QString& name, int provinceId);

    CADODatabase* m_pDatabase;
    QString m_strFolder;
    QString m_strError;
    QHash<QString, int> m_Categories;
    QHash<QString, int> m_Provinces;
    QHash<QString, int> m_MaterialTypes;
    QHash<QString, int> m_Materials; ///< by MaterialKey
    QHash<QString, int> m_Types;
};
