# The client suite links the real core, schema and store with the adapter
# double (made by the schema or store suite's deps, or here when this suite
# is configured first), whose in-memory database the client tests switch on.
if(NOT TARGET adpdouble)
  file(GLOB adpdouble_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/adpdouble/*.cpp)
  add_library(adpdouble STATIC ${adpdouble_srcs})
  target_include_directories(adpdouble PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(adpdouble PRIVATE ${ORBISAN_WARNINGS})
endif()
target_link_libraries(testhelp_client PUBLIC
                      "$<LINK_GROUP:RESCAN,adpdouble,orbisan_client,orbisan_store,orbisan_schema,orbisan_core,orbisan_kclassic,orbisan_bo,orbisan_mbtext>")
target_link_libraries(testhelp_client PUBLIC testhelp_core)
