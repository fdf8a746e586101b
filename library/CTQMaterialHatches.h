#pragma once

#include "TQWallExport.h"
#include "library/CTQWallSectionPainter.h"

#include <QHash>
#include <QString>

class QDir;

/// Which hatch a material is drawn with in a section. The default library's materials name theirs in
/// the "hatch" column of materials.csv; a material the table does not hold (one an engineer added) is
/// drawn after the word of its name that says what it is made of ("砖", "岩棉", "聚苯", ...), and with
/// the concrete hatch when none does.
class TQWALL_EXPORT CTQMaterialHatches
{
public:
    using EHatch = CTQWallSectionPainter::EHatch;

    /// Reads materials.csv and material_types.csv of `dataDir`. False with `error` naming file and
    /// line when a row names an unknown material type or hatch: a broken seed file is no guess.
    bool Load(const QDir& dataDir, QString* error);

    /// The table of the installed default library (its seed folder), read once per process. A folder
    /// that cannot be read leaves the table empty, so every material is drawn after its name.
    static const CTQMaterialHatches& Installed();

    /// The hatch of the material `name` of `province` (empty: national); a provincial material the
    /// table lacks is looked up among the national ones before its name is read.
    EHatch HatchOf(const QString& name, const QString& province = QString()) const;

    /// Whether the table holds `name` of `province` or a national material of that name.
    bool Contains(const QString& name, const QString& province = QString()) const;

    /// The hatch the words of a material's name point to; concrete when none does.
    static EHatch HatchFromName(const QString& name);

private:
    static QString Key(const QString& province, const QString& name);
    const EHatch* Find(const QString& name, const QString& province) const;

    QHash<QString, EHatch> m_Hatches;
};
