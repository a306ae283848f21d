# Which linker links the libraries and programs (ORBISAN_LINKER):
#   lld      LLVM's lld (links test programs about a third faster); configure
#            fails when it is missing, so a build that asks for it (CI) gets it
#   default  the compiler's own linker
#   (empty)  lld when it is installed, else the compiler's own linker
set(ORBISAN_LINKER "" CACHE STRING "Linker: lld, default, or empty for lld when installed")
set_property(CACHE ORBISAN_LINKER PROPERTY STRINGS "" lld default)
if(NOT ORBISAN_LINKER MATCHES "^(lld|default|)$")
  message(FATAL_ERROR "ORBISAN_LINKER must be lld, default or empty, not '${ORBISAN_LINKER}'")
endif()

if(NOT ORBISAN_LINKER STREQUAL "default")
  include(CheckLinkerFlag)
  check_linker_flag(CXX -fuse-ld=lld ORBISAN_HAVE_LLD)
  if(ORBISAN_HAVE_LLD)
    add_link_options(-fuse-ld=lld)
  elseif(ORBISAN_LINKER STREQUAL "lld")
    message(FATAL_ERROR "ORBISAN_LINKER=lld but the compiler cannot link with lld: "
                        "install the Debian package lld (listed in .ci/packages)")
  else()
    message(STATUS "lld not found: linking with the compiler's own linker")
  endif()
endif()
