# The adapter is built on the class library and the core runtime.
# liborbisan.so already takes both whole, so the link is passed on to every
# consumer but the shared library.
target_link_libraries(orbisan_adapter PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_kclassic>"
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_core>")
