# Tests of the wizard framework: step factory, wizard window, help assistant, viewer, message boxes.
kelvano_add_gui_test(tst_SolutionStage SOURCES tst_SolutionStage.cpp LIBS steps)
kelvano_add_gui_test(tst_ZLPWizard SOURCES tst_ZLPWizard.cpp LIBS steps store)
kelvano_add_gui_test(tst_AssistantInterface SOURCES tst_AssistantInterface.cpp LIBS wizard)
kelvano_add_gui_test(tst_WebViewer SOURCES tst_WebViewer.cpp LIBS wizard)
kelvano_add_gui_test(tst_QtMessageSink SOURCES tst_QtMessageSink.cpp LIBS wizard)
kelvano_add_gui_test(tst_QtTranslations SOURCES tst_QtTranslations.cpp LIBS wizard Qt6::PrintSupport)
