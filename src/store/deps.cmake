# The object store stands on the schema model and the core runtime. As for
# the schema, the link to the core is passed on to every consumer but the
# shared library (which takes every subsystem whole). The adapter calls it
# makes are declared in src/adapter and meet their definitions only in
# liborbisan.so.
target_link_libraries(orbisan_store PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_schema>"
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_core>")
