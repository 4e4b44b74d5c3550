# The main window built in a temporary program folder and driven through its widgets.
add_library(orvantis_window_rig STATIC MainWindowRig.cpp MainWindowRig.h)
target_link_libraries(orvantis_window_rig PUBLIC orvantis_station_rig orvantis_app)

orvantis_add_test(tst_azimuth_entry SOURCES tst_azimuth_entry.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_command_cycle SOURCES tst_command_cycle.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_caption_language SOURCES tst_caption_language.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_setup_dialog_window SOURCES tst_setup_dialog.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_rotctld_window SOURCES tst_rotctld_window.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_position_readback SOURCES tst_position_readback.cpp LIBS orvantis_window_rig orvantis_app orvantis_rotsim_model)
# Needs a session bus (scripts/test provides a private one); skips without it.
orvantis_add_test(tst_azimuth_servers
    SOURCES tst_azimuth_servers.cpp ${PROJECT_SOURCE_DIR}/tests/sources/FakeAzimuthServer.cpp
    LIBS orvantis_window_rig orvantis_app
    LABELS dbus)
# The fake servers of both tests claim the same bus names.
set_tests_properties(tst_azimuth_servers PROPERTIES RESOURCE_LOCK azimuth_server_names)

# A third language from nothing but its .ts file, compiled and embedded where the
# program's own translations are.
orvantis_add_test(tst_third_language SOURCES tst_third_language.cpp LIBS orvantis_window_rig orvantis_app)
qt_add_lrelease(tst_third_language TS_FILES ${CMAKE_CURRENT_SOURCE_DIR}/translations/orvantis_de.ts
                QM_FILES_OUTPUT_VARIABLE third_language_qm)
qt_add_resources(tst_third_language "third_language" PREFIX /i18n BASE ${CMAKE_CURRENT_BINARY_DIR}
                 FILES ${third_language_qm})

# Every text of the main window and its dialogs whole under several styles and font
# sizes, at scale 1 and 2; pictures of them go to screenshots/ in the build tree.
orvantis_add_test(tst_texts_fit SOURCES tst_texts_fit.cpp LIBS orvantis_window_rig orvantis_app)
set_tests_properties(tst_texts_fit PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/tests/dialogs/screen-1920x1080.json;QT_SCALE_FACTOR=1;ORVANTIS_BUILD_DIR=${PROJECT_BINARY_DIR}")
add_test(NAME tst_texts_fit_2x COMMAND tst_texts_fit)
set_tests_properties(tst_texts_fit_2x PROPERTIES TIMEOUT 300 ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/tests/dialogs/screen-3840x2160.json;QT_SCALE_FACTOR=2;ORVANTIS_BUILD_DIR=${PROJECT_BINARY_DIR}")
