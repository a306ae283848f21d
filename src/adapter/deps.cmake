# The adapter is built on the class library and the core runtime.
# liborbisan.so already takes them whole, so the link is passed on to every
# consumer but the shared library.
foreach(_dep orbisan_kclassic orbisan_core)
  target_link_libraries(orbisan_adapter PUBLIC
                        "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:${_dep}>")
endforeach()
