# The client suite links the real core, schema and store with the adapter
# double (made by the schema or store suite's deps, or here when this suite
# is configured first), whose in-memory database the client tests switch on.
include(${CMAKE_SOURCE_DIR}/tests/adpdouble/adpdouble.cmake)
target_link_libraries(testhelp_client PUBLIC
                      "$<LINK_GROUP:RESCAN,adpdouble,orbisan_client,orbisan_store,orbisan_schema,orbisan_core,orbisan_kclassic,orbisan_bo,orbisan_mbtext>")
target_link_libraries(testhelp_client PUBLIC testhelp_core)
# The client as a host uses it: a program linking liborbisan.so alone
# (nothing of the client linked in statically) on a database of each test's
# own on the run's MariaDB server. Its file is not *_test.cpp: it stays out
# of the suite's programs, which link the client statically.
add_executable(client_host_e2e ${CMAKE_CURRENT_LIST_DIR}/host/cpi_host_e2e_test.cc)
target_include_directories(client_host_e2e PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(client_host_e2e PRIVATE ${ORBISAN_WARNINGS})
target_compile_definitions(client_host_e2e PRIVATE ORB_DATASVC_LIBRARY="$<TARGET_FILE:OraDataSvc>"
                           ORBISAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
target_link_libraries(client_host_e2e PRIVATE orbisan orbisan_testdb GTest::gtest_main ${CMAKE_DL_LIBS})
add_dependencies(client_host_e2e OraDataSvc)
orbisan_test_program(client_host_e2e)
