# Installation: the three libraries, tqwall, the public headers, the data folder and the package
# configuration that lets another project say find_package(TQWall) and link TQWall::TQWall_Dll.
set(TQWALL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/TQWall)

install(TARGETS TQThermal TQHost TQWall_Dll tqwall
    EXPORT TQWallTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    FILE_SET HEADERS DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tqwall)
install(FILES ${PROJECT_BINARY_DIR}/include/TQWallExport.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tqwall)
install(FILES ${PROJECT_BINARY_DIR}/include/host/TQHostExport.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/tqwall/host)
install(DIRECTORY ${TQWALL_BUILD_DATA_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/tqwall)

install(EXPORT TQWallTargets NAMESPACE TQWall:: DESTINATION ${TQWALL_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TQWallConfig.cmake.in
    ${PROJECT_BINARY_DIR}/TQWallConfig.cmake INSTALL_DESTINATION ${TQWALL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TQWallConfigVersion.cmake COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TQWallConfig.cmake ${PROJECT_BINARY_DIR}/TQWallConfigVersion.cmake
    DESTINATION ${TQWALL_CMAKE_DIR})
