# Tests of the standalone solver windows opened from the main window.
kelvano_add_gui_test(tst_SolverWindows OWN_TMPDIR SOURCES tst_SolverWindows.cpp LIBS app_main solvers store_ui store)
target_compile_definitions(tst_SolverWindows PRIVATE KELVANO_SOLVE="$<TARGET_FILE:kelvano-solve>")
add_dependencies(tst_SolverWindows kelvano-solve)
