# The data dictionary is built of the class library's strings, maps and
# objects. liborbisan.so already takes orbisan_kclassic whole, so the link
# is passed on to every consumer but the shared library.
target_link_libraries(orbisan_bo PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_kclassic>")
