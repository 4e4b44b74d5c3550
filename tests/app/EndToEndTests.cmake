# Black-box tests: the built program runs in a temporary folder of its own and is
# driven through UDP datagrams and signals; its bytes on a pseudo-terminal and the
# Orvantis.ini it leaves are checked.
function(orvantis_add_end_to_end_test name)
    orvantis_add_test(${name}
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ProgramFolder.cpp
        LIBS Qt6::Network
        LABELS end-to-end)
    target_compile_definitions(${name} PRIVATE ORVANTIS_EXECUTABLE="$<TARGET_FILE:orvantis>"
        ORVANTIS_SERVICE_EXECUTABLE="$<TARGET_FILE:orvantis-service>")
    add_dependencies(${name} orvantis orvantis-service)
endfunction()

orvantis_add_end_to_end_test(tst_ProgramSettings)
orvantis_add_end_to_end_test(tst_ProgramOddFiles)
orvantis_add_end_to_end_test(tst_ProgramRotorRoad)
orvantis_add_end_to_end_test(tst_ProgramRotctld)

# Real key and mouse events on the X display that scripts/test provides.
orvantis_add_end_to_end_test(tst_ProgramKeyboard)
set_tests_properties(tst_ProgramKeyboard PROPERTIES LABELS "end-to-end;x11")

# Every serial controller end to end, against orvantis-rotsim.
orvantis_add_end_to_end_test(tst_ProgramSimulatedRotors)
target_compile_definitions(tst_ProgramSimulatedRotors PRIVATE
    ORVANTIS_ROTSIM_EXECUTABLE="$<TARGET_FILE:orvantis-rotsim>")
add_dependencies(tst_ProgramSimulatedRotors orvantis-rotsim)

# The installed program: its files, their validators, its command line and where it
# keeps its settings.
orvantis_add_end_to_end_test(tst_ProgramInstall)
target_link_libraries(tst_ProgramInstall PRIVATE Qt6::Gui)
target_compile_definitions(tst_ProgramInstall PRIVATE
    CMAKE_COMMAND="${CMAKE_COMMAND}" ORVANTIS_BUILD_DIR="${PROJECT_BINARY_DIR}"
    ORVANTIS_VERSION="${PROJECT_VERSION}" ORVANTIS_DATA_FROM_BIN="${ORVANTIS_DATA_FROM_BIN}")
orvantis_add_end_to_end_test(tst_ProgramDevices)
orvantis_add_end_to_end_test(tst_ProgramHeadless)
orvantis_add_end_to_end_test(tst_ProgramStandardError)
orvantis_add_end_to_end_test(tst_ProgramWayland)
