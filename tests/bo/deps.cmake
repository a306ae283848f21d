# The bo suites start the multibyte library over the class-library tests'
# locale data, and play the host through its message transport.
target_link_libraries(testhelp_bo PUBLIC testhelp_kclassic BoHost)
