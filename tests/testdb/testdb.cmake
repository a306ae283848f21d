# orbisan_testdb: the one library through which test suites reach MariaDB
# (testdb_server.h, testdb_database.h), the ctest fixture that starts the
# run's shared server, and the library's own tests.
add_library(orbisan_testdb STATIC ${CMAKE_SOURCE_DIR}/tests/testdb/testdb_server.cpp
                                  ${CMAKE_SOURCE_DIR}/tests/testdb/testdb_database.cpp)
target_include_directories(orbisan_testdb PUBLIC ${CMAKE_SOURCE_DIR}/tests ${ORB_MARIADB_INCLUDE})
target_compile_options(orbisan_testdb PRIVATE ${ORBISAN_WARNINGS})
target_compile_definitions(orbisan_testdb PRIVATE
                           TESTDB_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                           ORB_MARIADB_SCRIPT="${CMAKE_SOURCE_DIR}/tools/mariadb/orb_mariadb.sh"
                           ORB_MARIADB_TEMPLATE="${CMAKE_BINARY_DIR}/mariadb-template/data")
target_link_libraries(orbisan_testdb PUBLIC GTest::gtest ${ORB_MARIADB_LIBRARY})
# Every program linking the library (directly or through a helper library
# that links it PUBLIC) is marked, and its tests require the fixture.
set_target_properties(orbisan_testdb PROPERTIES INTERFACE_ORBISAN_MARIADB ON
                      COMPATIBLE_INTERFACE_BOOL ORBISAN_MARIADB)
orbisan_mariadb_fixture()
orbisan_tmp_fixture()

add_executable(testdb_database_test ${CMAKE_SOURCE_DIR}/tests/testdb/testdb_database_test.cpp)
target_compile_options(testdb_database_test PRIVATE ${ORBISAN_WARNINGS})
target_link_libraries(testdb_database_test PRIVATE orbisan_testdb GTest::gtest_main)
orbisan_test_program(testdb_database_test)
