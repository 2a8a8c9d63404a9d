# Turns the bytes of a file into a C++ function returning them, for the database the
# program carries inside itself. Run as: cmake -DENTREE=... -DSORTIE=... -DFONCTION=... -P
file(READ "${ENTREE}" octets HEX)
string(LENGTH "${octets}" longueur)
math(EXPR taille "${longueur} / 2")
# 24 bytes a line.
set(tableau "")
set(position 0)
while(position LESS longueur)
  string(SUBSTRING "${octets}" ${position} 48 morceau)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," morceau "${morceau}")
  string(APPEND tableau "${morceau}\n    ")
  math(EXPR position "${position} + 48")
endwhile()
get_filename_component(nom "${ENTREE}" NAME)
file(WRITE "${SORTIE}.tmp"
"// Generated at build time from ${nom}: do not edit.
#include <string_view>

std::string_view ${FONCTION}();

namespace {
// One extra byte so that an empty file still gives a valid array.
const char octets[] = {
    ${tableau}'\\0'};
}  // namespace

std::string_view ${FONCTION}() { return {octets, ${taille}}; }
")
file(COPY_FILE "${SORTIE}.tmp" "${SORTIE}" ONLY_IF_DIFFERENT)
file(REMOVE "${SORTIE}.tmp")
