# The locale layer's tests run in the class library's test locales (a
# double-byte page among them), shared with the class library's tests.
target_link_libraries(testhelp_core PUBLIC testhelp_kclassic)
