# Settings, paths, catalogues and vocabulary.
rs_add_qtest(tst_foundation_paths SOURCES tst_paths.cpp LIBS foundation)
