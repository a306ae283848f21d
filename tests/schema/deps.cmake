# The schema suite's helpers link the recording adapter double (shared with
# the store suite), which supplies the adp_* calls the schema library makes.
if(NOT TARGET adpdouble)
  file(GLOB adpdouble_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/adpdouble/*.cpp)
  add_library(adpdouble STATIC ${adpdouble_srcs})
  target_include_directories(adpdouble PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(adpdouble PRIVATE ${ORBISAN_WARNINGS})
  # The stored index lists it answers are core collections.
  target_link_libraries(adpdouble PUBLIC orbisan_core)
endif()
target_link_libraries(testhelp_schema PUBLIC adpdouble)
# The core suites' fixture reads the alert stack for these suites too.
target_link_libraries(testhelp_schema PUBLIC testhelp_core)
