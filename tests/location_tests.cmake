muezzin_add_test(tst_glyphencoding muezzin_location)
muezzin_add_test(tst_citydatabase muezzin_location Qt6::Sql)
muezzin_add_test(tst_locationselection muezzin_location Qt6::Sql)
# The shipped sample data is checked where it lies.
target_compile_definitions(tst_citydatabase PRIVATE MUEZZIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
muezzin_add_test(tst_startfolder muezzin_location)
