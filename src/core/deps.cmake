# The locale layer's characters and strings run through the class library's
# multibyte functions. liborbisan.so already takes orbisan_kclassic whole, so
# the link is passed on to every consumer but the shared library.
target_link_libraries(orbisan_core PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_kclassic>")
