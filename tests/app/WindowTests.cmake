# The main window built in a temporary program folder and driven through its widgets.
add_library(orvantis_window_rig STATIC MainWindowRig.cpp MainWindowRig.h)
target_link_libraries(orvantis_window_rig PUBLIC orvantis_app orvantis_test_support Qt6::Test)

orvantis_add_test(tst_azimuth_entry SOURCES tst_azimuth_entry.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_command_cycle SOURCES tst_command_cycle.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_caption_language SOURCES tst_caption_language.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_setup_dialog_window SOURCES tst_setup_dialog.cpp LIBS orvantis_window_rig orvantis_app)
orvantis_add_test(tst_rotctld_window SOURCES tst_rotctld_window.cpp LIBS orvantis_window_rig orvantis_app)
