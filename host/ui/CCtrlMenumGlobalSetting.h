#pragma once

#include "host/TQHostExport.h"
#include "host/ui/stuMenuItem.h"

#include <QString>

/// Command numbers the host's menu items carry; the dialogs bind items by these numbers.
namespace TQMenuCommand {
constexpr int Add = 30001;
constexpr int Modify = 30002;
constexpr int Delete = 30003;
constexpr int Copy = 30004;
constexpr int MoveUp = 30006;
constexpr int MoveDown = 30007;
constexpr int SetCommon = 30013;
constexpr int CancelCommon = 30014;
} // namespace TQMenuCommand

/// The host's context-menu item arrays. The arrays belong to this object; a dialog may switch
/// an item's enabled state in place, and ResumeDefult() restores every array.
class TQHOST_EXPORT CCtrlMenumGlobalSetting
{
public:
    static CCtrlMenumGlobalSetting* GetCtrlMenumGlobalSetting();

    /// Menu of the construction list; `common` picks the variant for the common subtree.
    CTQMenuItemArray* GetBSListMenuAry(bool common);
    /// Menu of the material tree, four items: add, delete, modify, set (or, with `common`, cancel)
    /// the common flag.
    CTQMenuItemArray* GetTimbListMenuAry(bool common);
    /// Menu of the editor's layer grid.
    CTQMenuItemArray* GetBSInfoMenuAry();
    /// Menu of the editor's material tree.
    CTQMenuItemArray* GetBSInfoAddMenuAry();

    /// Names the kind of object the menus act on ("围护结构", "材质", "材质信息"); returns 1.
    int Attach(const QString& objectWord);
    const QString& GetAttachedWord() const { return m_strObjectWord; }
    /// Restores every array to its default items and states.
    void ResumeDefult();

private:
    CCtrlMenumGlobalSetting();

    CTQMenuItemArray m_BSList;
    CTQMenuItemArray m_BSListCommon;
    CTQMenuItemArray m_TimbList;
    CTQMenuItemArray m_TimbListCommon;
    CTQMenuItemArray m_BSInfo;
    CTQMenuItemArray m_BSInfoAdd;
    QString m_strObjectWord;
};
