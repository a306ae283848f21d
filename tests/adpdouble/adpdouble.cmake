# The adapter double's library, made once by the first suite that needs it.
if(NOT TARGET adpdouble)
  file(GLOB adpdouble_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/adpdouble/*.cpp)
  add_library(adpdouble STATIC ${adpdouble_srcs})
  target_include_directories(adpdouble PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(adpdouble PRIVATE ${ORBISAN_WARNINGS})
endif()
