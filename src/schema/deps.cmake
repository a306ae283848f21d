# The schema model stands on the core runtime (alerts, registry, collections,
# pools, locale text functions). liborbisan.so already takes orbisan_core
# whole, so the link is passed on to every consumer but the shared library.
# The adapter calls it makes are declared in src/adapter and meet their
# definitions only in liborbisan.so.
target_link_libraries(orbisan_schema PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_core>")
