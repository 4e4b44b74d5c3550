# Black-box tests: the built program runs in a temporary folder of its own and is
# driven through UDP datagrams and signals; its bytes on a pseudo-terminal and the
# Orvantis.ini it leaves are checked.
function(orvantis_add_end_to_end_test name)
    orvantis_add_test(${name}
        SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp ${CMAKE_CURRENT_SOURCE_DIR}/ProgramFolder.cpp
        LIBS Qt6::Network
        LABELS end-to-end)
    target_compile_definitions(${name} PRIVATE ORVANTIS_EXECUTABLE="$<TARGET_FILE:orvantis>")
    add_dependencies(${name} orvantis)
endfunction()

orvantis_add_end_to_end_test(tst_ProgramSettings)
orvantis_add_end_to_end_test(tst_ProgramRotorRoad)
orvantis_add_end_to_end_test(tst_ProgramDevices)
