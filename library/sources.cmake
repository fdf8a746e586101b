target_sources(TQWall_Dll PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CTQBSDataAdmin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CTQLibrarySeed.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CTQBSCoefficientSearch.cpp
)
