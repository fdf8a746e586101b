#include "host/ui/CCtrlMenumGlobalSetting.h"

#include <gtest/gtest.h>

// A dialog disables items of the host's menus in place; the next dialog starts from the defaults.
TEST(CCtrlMenumGlobalSettingTest, MenuArraysRestoreTheirDefaults)
{
    CCtrlMenumGlobalSetting* menus = CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting();
    CTQMenuItemArray* list = menus->GetBSListMenuAry(false);
    ASSERT_GT(list->GetSize(), 0);
    EXPECT_EQ(list->GetAt(0).nID, TQMenuCommand::Add);
    list->GetAt(0).bEnable = false;
    menus->ResumeDefult();
    EXPECT_TRUE(menus->GetBSListMenuAry(false)->GetAt(0).bEnable);
    EXPECT_NE(menus->GetBSListMenuAry(true), menus->GetBSListMenuAry(false));
}
