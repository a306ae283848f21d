# The bo suites start the multibyte library over the class-library tests'
# locale data, and play the host through its message transport.
target_link_libraries(testhelp_bo PUBLIC testhelp_kclassic BoHost)
# The encryption tests compare crypt with the system's crypt(3) (libcrypt).
find_library(ORB_LIBCRYPT crypt REQUIRED)
orbisan_test_target(bo bo_crypt_test program)
target_link_libraries(${program} PRIVATE ${ORB_LIBCRYPT})
# The user context's statements run on the run's shared MariaDB server.
orbisan_test_target(bo bo_usr_db_test program)
target_link_libraries(${program} PRIVATE orbisan_testdb)
# The schema-text tests compile what they write with the schema compiler,
# over the recording adapter double, as the schema suite does.
orbisan_test_target(bo bo_ddschema_test program)
target_link_libraries(${program} PRIVATE testhelp_schema)
target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR}/tests/schema)
# The metadata-server tests start orb_mdserver as a child process.
add_dependencies(testhelp_bo orb_mdserver)
target_compile_definitions(testhelp_bo PRIVATE ORB_MDSERVER_PATH="$<TARGET_FILE:orb_mdserver>")
