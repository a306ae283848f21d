# The client suite links the real core, schema and store with the adapter
# double (made by the schema or store suite's deps, or here when this suite
# is configured first), whose in-memory database the client tests switch on.
include(${CMAKE_SOURCE_DIR}/tests/adpdouble/adpdouble.cmake)
target_link_libraries(testhelp_client PUBLIC
                      "$<LINK_GROUP:RESCAN,adpdouble,orbisan_client,orbisan_store,orbisan_schema,orbisan_core,orbisan_kclassic,orbisan_bo,orbisan_mbtext>")
target_link_libraries(testhelp_client PUBLIC testhelp_core)
