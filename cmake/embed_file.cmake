# cmake -DINPUT=<file> -DOUTPUT=<source.cpp> -DSYMBOL=<Name> -DHEADER=<header> -P embed_file.cmake
# Writes a C++ source that defines the bytes of INPUT as `const unsigned char
# Name[]` and their number as `const std::size_t NameLength`, as HEADER declares.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR length "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 16 line)  # CMake regexes have no {n}
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
get_filename_component(name "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
  "// Generated from ${name} at build time; do not edit.\n"
  "#include \"${HEADER}\"\n\n"
  "const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\n"
  "const std::size_t ${SYMBOL}Length = ${length};\n")
