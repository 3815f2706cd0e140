# cmake -DINPUT=file -DOUTPUT=file.cpp -DSYMBOL=name -DHEADER=dir/header.h -P EmbedFile.cmake
# Writes a C++ file holding INPUT's bytes as SYMBOL (the first byte) and SYMBOL's end.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
if(length EQUAL 0)
  message(FATAL_ERROR "${INPUT} is empty")
endif()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp" "// Generated from ${INPUT} at build time.\n#include \"${HEADER}\"\n\nconst unsigned char ${SYMBOL}Start[] = {\n${bytes}\n};\nconst unsigned char* const ${SYMBOL}End = ${SYMBOL}Start + sizeof ${SYMBOL}Start;\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
