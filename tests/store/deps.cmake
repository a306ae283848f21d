# The store suite's helpers link the recording adapter double (made by the
# schema suite's deps, or here when the store suite is configured first),
# which supplies the adp_* calls the store and schema libraries make. The
# double's store part calls back into the schema model, so the double, the
# store, the schema, the core and the libraries under it are searched as one
# group.
include(${CMAKE_SOURCE_DIR}/tests/adpdouble/adpdouble.cmake)
target_link_libraries(testhelp_store PUBLIC
                      "$<LINK_GROUP:RESCAN,adpdouble,orbisan_store,orbisan_schema,orbisan_core,orbisan_kclassic,orbisan_bo,orbisan_mbtext>")
# The core suites' fixture reads the alert stack for these suites too.
target_link_libraries(testhelp_store PUBLIC testhelp_core)
