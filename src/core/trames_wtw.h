// The eight stored lines of the simulated instrument "WTW 3310" (Windows-1252 bytes:
// é 233, ° 176), replayed every 2 s.
#pragma once

#include <array>
#include <string>

inline const std::array<std::string, 8> TramesWTW = {
    std::string("02.01.2011  22:57:15\r\n"),
    std::string("pH 3310\r\n"),
    std::string("No.s\xE9r 08510607\r\n"),
    std::string("\r\n"),
    std::string("Num\xE9ro ID: 1\r\n"),
    std::string("pH 7.37 17.6\xB0" "C, AR, +++\r\n"),
    std::string(23, '_') + "\r\n",
    std::string("\r\n"),
};
