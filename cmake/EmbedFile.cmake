# cmake -DINPUT=FILE -DOUTPUT=SOURCE.cpp -DNAME=ident -P EmbedFile.cmake
# Writes a C++ source defining `const unsigned char NAME[]` with FILE's bytes and
# `const std::size_t NAME_size`, so that a program carries a small file inside it.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes
                     "${bytes}")
file(WRITE ${OUTPUT}
     "// Made by cmake/EmbedFile.cmake from ${INPUT}.\n#include <cstddef>\n"
     "extern const unsigned char ${NAME}[] = {\n${bytes}};\n"
     "extern const std::size_t ${NAME}_size = ${size};\n")
