# Settings, paths, catalogues and vocabulary.
rs_add_qtest(tst_foundation_paths SOURCES tst_paths.cpp LIBS foundation)
rs_add_qtest(tst_foundation_settings SOURCES tst_settings.cpp LIBS foundation)
rs_add_qtest(tst_foundation_vocabulary SOURCES tst_vocabulary.cpp LIBS foundation)
rs_add_qtest(tst_foundation_converter SOURCES tst_converter.cpp LIBS foundation)
rs_add_qtest(tst_foundation_records SOURCES tst_records.cpp LIBS foundation)
rs_add_qtest(tst_foundation_catalogue SOURCES tst_catalogue.cpp LIBS foundation)
rs_add_qtest(tst_foundation_common SOURCES tst_common.cpp LIBS foundation)
