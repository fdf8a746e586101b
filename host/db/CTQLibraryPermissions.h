#pragma once

#include "host/TQHostExport.h"

#include <QString>

/// What the role a library is opened with may change, as the server told it at connection. The
/// server enforces it (scripts/library-roles.sql); the dialogs read it only to disable the actions
/// it would refuse and to say why.
///
/// An SQLite library, or a PostgreSQL library whose role owns the tables, may change everything;
/// a read-only connection nothing. An "engineer" role changes constructions and their layers only
/// where they are provincial and not common: the national and the common constructions are what
/// the whole office relies on.
class TQHOST_EXPORT CTQLibraryPermissions
{
public:
    bool bMayChangeTypes = true;         ///< categories and construction types
    bool bMayChangeConstructions = true; ///< constructions and their layer sets
    bool bMayChangeMaterials = true;     ///< materials and material types
    bool bOnlyProvincial = false;        ///< constructions only where provincial and not common

    /// Nothing may change.
    static CTQLibraryPermissions None();

    /// Whether a construction of that province (0: national) and common flag may be added,
    /// changed, copied or deleted.
    bool MayChangeConstruction(int provinceId, int commonFlag) const;
    /// Why not, as a tool tip says it; empty where it may.
    QString ConstructionRefusal(int provinceId, int commonFlag) const;
    /// Why types may not be changed (a type's deletion takes its constructions); empty where
    /// they may.
    QString TypeRefusal() const;
    /// Why materials may not be changed; empty where they may.
    QString MaterialRefusal() const;

    /// What a write the server refused means for the user.
    static QString RefusedText();
};
