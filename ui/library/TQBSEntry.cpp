#include "ui/library/TQBSEntry.h"

#include "host/core/CTQContextResourceOverride.h"
#include "host/walldata/CTQWallData.h"
#include "host/thermal/TQArray.h"
#include "ui/TQWallModule.h"
#include "ui/library/CTqUiBSListDlg.h"

namespace TQLoad {

namespace {

/// Hands the dialog's choice to the host's wall. A choice without a construction name leaves the
/// wall without construction (ID −1) and without layers.
void TakeChoice(const CTqUiBSListDlg& dialog, CTQWallData& wall)
{
    const CTQWallData& chosen = dialog.m_WallData;
    wall = chosen;
    wall.m_strBSCName = chosen.m_strBSCName;
    if (wall.m_strBSCName != QString()) {
        wall.m_nBSCId = chosen.m_nBSCId;
        wall.m_WallCharacter.SetTimberingData(chosen.m_WallCharacter.GetTimberingData(), true);
    } else {
        wall.m_nBSCId = -1;
        wall.SetTimbering(CTQArray<CTQTimberingData>(), true);
    }
}

/// Runs the dialog and, on OK, hands its choice to `wall`; 1 for OK, else 0.
int RunForWall(CTqUiBSListDlg& dialog, CTQWallData& wall)
{
    dialog.SetCrXs(wall);
    if (dialog.DoModal() != QDialog::Accepted)
        return 0;
    TakeChoice(dialog, wall);
    return 1;
}

} // namespace

int ShowBSDlgByBSCId(long bscId, CTQWallData& wall)
{
    const CTQContextResourceOverride resources(GetTQWallModule());
    CTqUiBSListDlg dialog(nullptr);
    dialog.m_Code.SetID(static_cast<int>(bscId));
    dialog.m_WallData.m_nBSCId = static_cast<int>(bscId);
    return RunForWall(dialog, wall);
}

int ShowBSDlgByBSCIdEx(long bscId, CTQWallData& wall, int categoryId)
{
    const CTQContextResourceOverride resources(GetTQWallModule());
    CTqUiBSListDlg dialog(nullptr);
    dialog.m_Category.ReadData(categoryId, nullptr);
    dialog.m_Code.SetID(static_cast<int>(bscId));
    return RunForWall(dialog, wall);
}

void ShowBSDlg(QString typeName, QString codeName)
{
    const CTQContextResourceOverride resources(GetTQWallModule());
    CTQBSType type;
    type.Name = typeName;
    CTQBSCode code;
    code.Name = codeName;
    CTqUiBSListDlg dialog(nullptr);
    dialog.m_Type = type;
    dialog.m_Code = code;
    dialog.DoModal();
}

int ShowBSDlg()
{
    ShowBSDlg(QString(), QString());
    return 1;
}

} // namespace TQLoad
