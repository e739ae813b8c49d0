# cmake -DINPUT=file -DSYMBOL=name -DOUTPUT=file.cpp -P EmbedFile.cmake
# Writes a C++ source that defines zq::art::<SYMBOL> as the bytes of INPUT.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include \"ui/EmbeddedArt.h\"

namespace zq::art {
namespace {
const unsigned char kBytes[] = {
${bytes}
};
}  // namespace
const std::span<const unsigned char> ${SYMBOL}(kBytes);
}  // namespace zq::art
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
