# Tests of the linear programming steps and of the frame of the page-showing steps.
kelvano_add_gui_test(tst_untStep_ZLPInput SOURCES tst_untStep_ZLPInput.cpp StepRun.h LIBS steps store)
kelvano_add_gui_test(tst_untStagePage SOURCES tst_untStagePage.cpp StepRun.h LIBS steps store)
kelvano_add_gui_test(tst_untStep_ZLPCheck SOURCES tst_untStep_ZLPCheck.cpp StepRun.h LIBS steps store)
kelvano_add_gui_test(tst_untStep_KFCheck SOURCES tst_untStep_KFCheck.cpp StepRun.h LIBS steps store)
kelvano_add_gui_test(tst_untStep_PreviewResult SOURCES tst_untStep_PreviewResult.cpp StepRun.h LIBS steps store)
