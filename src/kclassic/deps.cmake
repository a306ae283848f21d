# The class library runs every text operation through the multibyte library.
# liborbisan.so already takes orbisan_mbtext whole, so the link is passed on
# to every consumer but the shared library.
target_link_libraries(orbisan_kclassic PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_mbtext>")
