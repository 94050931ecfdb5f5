# Tests of the linear-fractional steps: whole runs through the wizard, the store, kelvano-solve.
kelvano_add_gui_test(tst_FractionalTask SOURCES tst_FractionalTask.cpp StepRun.h LIBS steps store)
target_compile_definitions(tst_FractionalTask PRIVATE KELVANO_SOLVE="$<TARGET_FILE:kelvano-solve>")
add_dependencies(tst_FractionalTask kelvano-solve)
