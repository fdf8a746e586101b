# ctest step: install the build into a staging prefix, build the consumer project against it and
# run both the consumer and the installed tqwall on a library the consumer makes.
# Variables: BUILD_DIR, SOURCE_DIR, WORK_DIR, CXX_FLAGS, GENERATOR.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    message("${output}")
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}")
    endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
set(stage ${WORK_DIR}/stage)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage})
run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Debug
    -DCMAKE_PREFIX_PATH=${stage} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${CXX_FLAGS}")
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)

# Nothing from the build tree may be found: no data folder override, no library path.
unset(ENV{TQWALL_DATA_DIR})
set(ENV{TQWALL_USER_DIR} ${WORK_DIR}/user)
set(ENV{TQWALL_INI} ${WORK_DIR}/user/tqwall.ini)
set(library ${WORK_DIR}/library.sqlite)
run(${WORK_DIR}/build/tqwall_consumer ${library})
file(GLOB installed_tqwall ${stage}/bin/tqwall)
run(${installed_tqwall} calc 1 --db ${library})
