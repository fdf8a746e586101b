#include "host/ui/CCtrlMenumGlobalSetting.h"

#include <initializer_list>

namespace {

stuMenuItem Item(int command, const char* text)
{
    stuMenuItem item;
    item.nID = command;
    item.strText = QString::fromUtf8(text);
    return item;
}

stuMenuItem Separator()
{
    stuMenuItem item;
    item.bSeparator = true;
    return item;
}

CTQMenuItemArray MakeArray(std::initializer_list<stuMenuItem> items)
{
    CTQMenuItemArray array;
    for (const stuMenuItem& item : items)
        array.Add(item);
    return array;
}

} // namespace

CCtrlMenumGlobalSetting* CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting()
{
    static CCtrlMenumGlobalSetting instance;
    return &instance;
}

CCtrlMenumGlobalSetting::CCtrlMenumGlobalSetting()
{
    ResumeDefult();
}

void CCtrlMenumGlobalSetting::ResumeDefult()
{
    using namespace TQMenuCommand;
    m_BSList = MakeArray({Item(Add, "添加"), Item(Modify, "修改"), Item(Delete, "删除"), Item(Copy, "复制"), Separator(),
                          Item(SetCommon, "设为常用")});
    m_BSListCommon = MakeArray({Item(Add, "添加"), Item(Modify, "修改"), Item(Delete, "删除"), Item(Copy, "复制"),
                                Separator(), Item(CancelCommon, "取消常用")});
    // The material library switches these four items by position (1 delete, 2 modify, 3 common
    // flag) and leaves the menu alone when it holds any other number of items: no separator.
    m_TimbList =
        MakeArray({Item(Add, "添加"), Item(Delete, "删除"), Item(Modify, "修改"), Item(SetCommon, "设为常用")});
    m_TimbListCommon =
        MakeArray({Item(Add, "添加"), Item(Delete, "删除"), Item(Modify, "修改"), Item(CancelCommon, "取消常用")});
    m_BSInfo = MakeArray({Item(Delete, "删除"), Separator(), Item(MoveUp, "上移"), Item(MoveDown, "下移")});
    m_BSInfoAdd = MakeArray({Item(Add, "添加")});
}

CTQMenuItemArray* CCtrlMenumGlobalSetting::GetBSListMenuAry(bool common)
{
    return common ? &m_BSListCommon : &m_BSList;
}

CTQMenuItemArray* CCtrlMenumGlobalSetting::GetTimbListMenuAry(bool common)
{
    return common ? &m_TimbListCommon : &m_TimbList;
}

CTQMenuItemArray* CCtrlMenumGlobalSetting::GetBSInfoMenuAry()
{
    return &m_BSInfo;
}

CTQMenuItemArray* CCtrlMenumGlobalSetting::GetBSInfoAddMenuAry()
{
    return &m_BSInfoAdd;
}

int CCtrlMenumGlobalSetting::Attach(const QString& objectWord)
{
    m_strObjectWord = objectWord;
    return 1;
}
