# The client object interface stands on the object store, the schema model
# and the core runtime. As for the store, the links are passed on to every
# consumer but the shared library (which takes every subsystem whole).
target_link_libraries(orbisan_client PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_store>"
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_schema>"
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_core>")
