# The construction library dialog, its entry functions and the picture viewer.
target_sources(TQWall_Dll PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/TQWallModule.cpp
    ${CMAKE_CURRENT_LIST_DIR}/library/CTqUiBSListDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/library/CTqUiBSViewPicDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/library/TQBSEntry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../resources/CTqUiBSListDlg.ui
    ${CMAKE_CURRENT_LIST_DIR}/../resources/tqwall_ui.qrc
)
