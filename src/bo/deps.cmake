# The data dictionary is built of the class library's strings, maps and
# objects, and reads the core runtime's subsystem table for message ids.
# liborbisan.so already takes orbisan_kclassic and orbisan_core whole, so the
# links are passed on to every consumer but the shared library.
target_link_libraries(orbisan_bo PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_kclassic>"
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_core>")
