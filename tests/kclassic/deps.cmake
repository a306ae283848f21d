# The test locales come from the multibyte tests' data builders.
target_link_libraries(testhelp_kclassic PUBLIC testhelp_mbtext)
