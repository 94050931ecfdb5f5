# Tests of the simplex step and of whole linear task runs through the wizard and the main window.
kelvano_add_gui_test(tst_SimplexSolve SOURCES tst_SimplexSolve.cpp LIBS steps)
kelvano_add_gui_test(tst_LinearTask OWN_TMPDIR SOURCES tst_LinearTask.cpp LIBS app_main steps store_ui store)
target_compile_definitions(tst_LinearTask PRIVATE KELVANO_SOLVE="$<TARGET_FILE:kelvano-solve>")
add_dependencies(tst_LinearTask kelvano-solve)
kelvano_add_gui_test(tst_IntegerTask SOURCES tst_IntegerTask.cpp LIBS steps store)
target_compile_definitions(tst_IntegerTask PRIVATE KELVANO_SOLVE="$<TARGET_FILE:kelvano-solve>")
add_dependencies(tst_IntegerTask kelvano-solve)
