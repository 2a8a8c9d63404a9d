// Windows-1252 <-> UTF-8 at the edge of every file the program reads or writes.
#pragma once

#include <string>
#include <string_view>

// Every byte maps to one character; the five bytes 1252 leaves undefined (81, 8D, 8F,
// 90, 9D) map to U+0081 ... so any file reads and writes back byte for byte.
std::string Cp1252VersUtf8(std::string_view octets);
// A character 1252 lacks becomes '?'; malformed UTF-8 bytes are taken as 1252 bytes.
std::string Utf8VersCp1252(std::string_view texte);
