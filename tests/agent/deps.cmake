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
