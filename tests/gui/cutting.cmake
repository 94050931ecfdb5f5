# Tests of the cutting-stock input step and of whole cutting-stock runs through the wizard.
kelvano_add_gui_test(tst_untStep_CutInput SOURCES tst_untStep_CutInput.cpp CuttingInput.h StepRun.h LIBS steps store)
kelvano_add_gui_test(tst_CuttingTask SOURCES tst_CuttingTask.cpp CuttingInput.h StepRun.h LIBS steps store)
target_compile_definitions(tst_CuttingTask PRIVATE KELVANO_SOLVE="$<TARGET_FILE:kelvano-solve>")
add_dependencies(tst_CuttingTask kelvano-solve)
