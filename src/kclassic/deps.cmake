# The class library runs every text operation through the multibyte library.
# liborbisan.so already takes orbisan_mbtext whole, so the link is passed on
# to every consumer but the shared library.
target_link_libraries(orbisan_kclassic PUBLIC
                      "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:orbisan_mbtext>")
# The class library's record set refers to the data dictionary's classes in
# bo, which are built on the class library: a static link needs the two in a
# cycle, so the class library's consumers get bo after it.
if(EXISTS ${CMAKE_SOURCE_DIR}/src/bo/bo_dd.h)
  set_property(TARGET orbisan_kclassic APPEND PROPERTY INTERFACE_LINK_LIBRARIES
               "$<$<NOT:$<STREQUAL:$<TARGET_PROPERTY:NAME>,orbisan>>:$<TARGET_NAME_IF_EXISTS:orbisan_bo>>")
endif()
