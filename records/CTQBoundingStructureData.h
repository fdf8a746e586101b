#pragma once

#include "TQWallExport.h"
#include "host/walldata/CTQMateralData.h"
#include "host/core/CTQObject.h"
#include "host/thermal/TQArray.h"

#include <QList>
#include <QString>

class CTQTimberingMap;

/// The layers of one construction, outside to inside, as three parallel comma lists (material
/// IDs, thicknesses in millimetres, correction factors) and, once parsed, as three arrays.
class TQWALL_EXPORT CTQBoundingStructureData : public CTQObject
{
public:
    CTQBoundingStructureData();
    CTQBoundingStructureData(const CTQBoundingStructureData&) = default;
    CTQBoundingStructureData& operator=(const CTQBoundingStructureData&) = default;
    ~CTQBoundingStructureData() override;

    void Init() override;

    /// Parses the three lists into the arrays; the materials are read from the library, all
    /// layers' with one statement. The lists are parsed independently: each array has as many
    /// elements as its own list has items. A material ID with no material row gives an empty
    /// material (ID 0, no conductivity), which the calculation refuses rather than guessing.
    void MakeArray();
    /// The same with materials already read, for many layer sets at once.
    void MakeArray(const CTQTimberingMap& materials);
    /// The material IDs of the list, one per layer (an item that is no number gives 0).
    QList<int> GetStuffIDs() const;

    int ID = 0;          ///< copy of the record ID
    int BSCId = 0;       ///< ID of the construction whose layers these are
    QString TIdS;        ///< material IDs, "12,7,30"
    QString HouDuS;      ///< thicknesses in millimetres, "20,240,20"
    QString XzXsS;       ///< correction factors of λ, "1,1,1"
    int HaveDemoBMP = 0; ///< 1 when a picture file was chosen at the last save

    CTQArray<CTQMateralData> m_StuffAry; ///< one material per layer
    CTQArray<double> m_HouDuAry;         ///< thicknesses, mm
    CTQArray<double> m_XzXsAry;          ///< correction factors
};
