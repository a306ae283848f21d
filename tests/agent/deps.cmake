# Connector stand-ins the agent's tests load instead of liborbisan.so, and
# where the tests find the built program.
add_library(agent_fake_connector SHARED ${CMAKE_CURRENT_LIST_DIR}/fake/agent_fake_connector.cc)
target_link_libraries(agent_fake_connector PRIVATE KlConnector)
add_library(agent_no_globals SHARED ${CMAKE_CURRENT_LIST_DIR}/fake/agent_no_globals.cc)
target_link_libraries(agent_no_globals PRIVATE KlConnector)
target_compile_definitions(testhelp_agent PRIVATE ORBISAN_AGENT_BUILD_DIR="${CMAKE_BINARY_DIR}"
                           AGENT_FAKE_CONNECTOR="$<TARGET_FILE:agent_fake_connector>"
                           AGENT_NO_GLOBALS="$<TARGET_FILE:agent_no_globals>")
add_dependencies(testhelp_agent orbisan-agent agent_fake_connector agent_no_globals)
# The end-to-end tests run the real connector and its data service on the
# demo database (tools/demo).
target_compile_definitions(testhelp_agent PRIVATE ORBISAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_dependencies(testhelp_agent orbisan OraDataSvc)
# The README's demo run on this build, its output checked.
add_test(NAME agent_demo_run COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/demo_run_check.sh ${CMAKE_BINARY_DIR})
set_tests_properties(agent_demo_run PROPERTIES
                     ENVIRONMENT "TMPDIR=${ORBISAN_TEST_TMPDIR};ORB_MARIADB_TEMPLATE=${CMAKE_BINARY_DIR}/mariadb-template/data"
                     FIXTURES_REQUIRED TestTmp TIMEOUT 300)
