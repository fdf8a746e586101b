#include "ui/materials/TQTimbEntry.h"

#include "host/core/CTQContextResourceOverride.h"
#include "host/walldata/CTQMateralData.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "ui/TQWallModule.h"
#include "ui/materials/CTqUiStuffListDlg.h"

namespace TQLoad {

void ShowTimberingDlg(QString typeName, QString materialName)
{
    const CTQContextResourceOverride resources(GetTQWallModule());
    CTQTimberingType type;
    type.Name = typeName;
    CTQTimbering material;
    material.SetStuffName(materialName);
    CTqUiStuffListDlg dialog(nullptr);
    dialog.m_Type = type;
    dialog.m_Timbering = material;
    dialog.DoModal();
}

int ShowTimberingDlg()
{
    ShowTimberingDlg(QString(), QString());
    return 1;
}

int ShowTimberingDlgById(long materialId, CTQMateralData& material)
{
    const CTQContextResourceOverride resources(GetTQWallModule());
    CTqUiStuffListDlg dialog(nullptr);
    dialog.m_Timbering.ReadData(materialId, nullptr);
    dialog.m_Type.ReadData(dialog.m_Timbering.TTId, nullptr);
    dialog.AttachData(&material);
    return dialog.DoModal() == QDialog::Accepted ? 1 : 0;
}

} // namespace TQLoad
