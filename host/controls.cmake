# The host's UI services and shared controls, compiled into TQHost. Paths are relative to this
# file so that it can be included from any directory.
target_sources(TQHost PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CTQUiService.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TQToolTip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TQHostMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CTqUiReportControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CMutiTreeCtrl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CSuperEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CPictureEx.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CPictureCtrl.cpp
)
