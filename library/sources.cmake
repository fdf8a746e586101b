target_sources(TQWall_Dll PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CTQBSDataAdmin.cpp
)
