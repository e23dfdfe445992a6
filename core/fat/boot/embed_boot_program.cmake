# cmake -DBINARY=prog.bin -DOUTPUT=prog.cpp -DSYMBOL=kName -DSIZE=n -DAREA=offset
#       -DEXPECT=offset:hex,offset:hex,... -P embed_boot_program.cmake
# Turns an assembled boot program into a C++ array after checking that it fills its area exactly
# and that the fixed bytes (names, messages, address bytes) stand at their sector offsets.
file(READ "${BINARY}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
if(NOT size EQUAL SIZE)
  message(FATAL_ERROR "${BINARY}: ${size} bytes, its area holds exactly ${SIZE}")
endif()

string(REPLACE "," ";" expectations "${EXPECT}")
foreach(expectation IN LISTS expectations)
  string(REPLACE ":" ";" parts "${expectation}")
  list(GET parts 0 offset)
  list(GET parts 1 wanted)
  string(TOLOWER "${wanted}" wanted)
  math(EXPR at "(${offset} - ${AREA}) * 2")
  string(LENGTH "${wanted}" length)
  string(SUBSTRING "${hex}" ${at} ${length} found)
  if(NOT found STREQUAL wanted)
    message(FATAL_ERROR "${BINARY}: sector offset ${offset} holds ${found}, expected ${wanted}")
  endif()
endforeach()

get_filename_component(source "${BINARY}" NAME_WE)
set(body "")
set(at 0)
while(at LESS digits)
  string(SUBSTRING "${hex}" ${at} 32 line)
  string(REGEX REPLACE "(..)" "0x\\1, " line "${line}")
  string(STRIP "${line}" line)
  string(APPEND body "    ${line}\n")
  math(EXPR at "${at} + 32")
endwhile()

file(WRITE "${OUTPUT}.tmp"
"// Generated from core/fat/boot/${source}.asm; do not edit.
#include \"core/fat/boot_programs.h\"

namespace fat {

const std::array<std::uint8_t, ${SIZE}> ${SYMBOL} = {
${body}};

}  // namespace fat
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
