# Whole quadratic task runs through the wizard, beside kelvano-solve.
kelvano_add_gui_test(tst_QuadraticTask SOURCES tst_QuadraticTask.cpp StepRun.h LIBS steps store)
target_compile_definitions(tst_QuadraticTask PRIVATE KELVANO_SOLVE="$<TARGET_FILE:kelvano-solve>")
add_dependencies(tst_QuadraticTask kelvano-solve)
