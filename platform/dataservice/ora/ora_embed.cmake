# Writes the set-up script into a C++ source file as one raw string.
file(READ ${SQL} text)
file(WRITE ${OUT} "// Generated from ora_setup.sql.\n#include \"platform/dataservice/ora/ora_setup_sql.h\"\n\nconst char* ora_setup_sql() {\n  return R\"ORASETUP(${text})ORASETUP\";\n}\n")
