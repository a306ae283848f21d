# The adapter suites use the core suites' start-up and clock helpers, and the
# real schema model and object store the adapter calls into (they call the
# adapter back, so the libraries are searched as one group).
target_link_libraries(testhelp_adapter PUBLIC testhelp_core ScriptDataSvc
                      "$<LINK_GROUP:RESCAN,orbisan_adapter,orbisan_store,orbisan_schema,orbisan_core,orbisan_kclassic,orbisan_bo,orbisan_mbtext>")
# A library without the service factory, for the load-failure tests.
add_library(AdpNoFactory SHARED ${CMAKE_SOURCE_DIR}/tests/adapter/lib/adp_nofactory.cc)
set_target_properties(AdpNoFactory PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/adp_testlib)
add_dependencies(testhelp_adapter AdpNoFactory ScriptDataSvc)
target_compile_definitions(testhelp_adapter PUBLIC
                           ADP_TESTLIB_DIR="${CMAKE_BINARY_DIR}/adp_testlib"
                           ADP_DATASVC_DIR="${CMAKE_BINARY_DIR}/dataservice")
# Each program loads the scripted service, which resolves the class library
# and the adapter from the program: the programs export their symbols, and
# link the service so the tests can script it.
foreach(program ${programs})
  set_target_properties(${program} PROPERTIES ENABLE_EXPORTS ON)
  target_link_libraries(${program} PRIVATE ScriptDataSvc)
endforeach()
# The Oracle-dialect service's suites run on the shared MariaDB server
# (orbisan_testdb), and test the rewrites directly.
if(TARGET OraDataSvc)
  add_dependencies(testhelp_adapter OraDataSvc)
  target_link_libraries(testhelp_adapter PUBLIC OraRewrite orbisan_testdb)
endif()
