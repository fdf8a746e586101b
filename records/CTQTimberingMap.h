#pragma once

#include "TQWallExport.h"
#include "records/CTQTimbering.h"

#include <QHash>
#include <QList>

class CADODatabase;

/// Materials by ID, read together: the materials that many layer lists name come with one
/// statement instead of one per layer. A map holds what one read found; nothing is kept from one
/// read to the next.
class TQWALL_EXPORT CTQTimberingMap
{
public:
    /// IDs per statement: far below the bound-value limits of both engines, and more than the
    /// materials a library usually holds, so one statement serves.
    static constexpr int kIdsPerStatement = 512;

    /// Replaces the map with the materials of `ids` (repeats and IDs without a row are fine). A
    /// null database means the library database. False when a statement failed; the map then
    /// holds what was read before it.
    bool Read(const QList<int>& ids, CADODatabase* database);

    /// The material of `id`, or an empty material (ID 0) when none was read, as a read by ID
    /// leaves a material whose row is missing.
    CTQTimbering Get(int id) const;
    bool Contains(int id) const { return m_Materials.contains(id); }
    int GetCount() const { return static_cast<int>(m_Materials.size()); }

private:
    QHash<int, CTQTimbering> m_Materials;
};
