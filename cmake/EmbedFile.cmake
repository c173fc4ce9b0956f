# Turns a file into a C++ source holding its bytes, so a resource the
# program needs is part of the binary rather than a file to find at run time.
# Usage: cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -P EmbedFile.cmake
# The source defines  extern const char SYMBOL[]  (the bytes, then a NUL)
# and  extern const unsigned long SYMBOL_size  (the count without the NUL).
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Generated from ${INPUT} by cmake/EmbedFile.cmake; do not edit.\n"
  "extern const char ${SYMBOL}[] = {\n${bytes}0};\n"
  "extern const unsigned long ${SYMBOL}_size = ${size};\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
