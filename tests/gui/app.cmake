# Tests of the save and load dialogs and of the main window.
kelvano_add_gui_test(tst_untSave SOURCES tst_untSave.cpp LIBS store_ui)
kelvano_add_gui_test(tst_untLoad SOURCES tst_untLoad.cpp LIBS store_ui)
kelvano_add_gui_test(tst_untMain OWN_TMPDIR SOURCES tst_untMain.cpp LIBS app_main steps)
kelvano_add_gui_test(tst_ProblemFiles OWN_TMPDIR SOURCES tst_ProblemFiles.cpp LIBS app_main steps solvers)
# The main window's keyboard shortcuts act only while it is the active window: no other window test
# may open its windows on the same display meanwhile and take the focus.
set_tests_properties(tst_untMain PROPERTIES RUN_SERIAL TRUE)
