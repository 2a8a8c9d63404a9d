// The eight stored lines of the simulated instrument "WTW 3310" (Windows-1252 bytes:
// é 233, ° 176), replayed every 2 s, and the steps of that replay, shared by the
// engine and the definition editor's test window. The position is the line and its
// next character, counted from 1.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
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

// The replay's next byte (0 past the line's end); the position moves on.
inline unsigned char OctetSuivantWTW(int ligne, int& caractere) {
  const std::string& l = TramesWTW[static_cast<std::size_t>(ligne) % TramesWTW.size()];
  const unsigned char c = caractere >= 1 && static_cast<std::size_t>(caractere) <= l.size()
                              ? static_cast<unsigned char>(l[static_cast<std::size_t>(caractere - 1)])
                              : 0;
  ++caractere;
  return c;
}

// How many bytes one tick of the replay delivers: what is left of the line, at most 8.
inline int OctetsDuTopWTW(int ligne, int caractere) {
  const int L = static_cast<int>(TramesWTW[static_cast<std::size_t>(ligne) % TramesWTW.size()].size());
  const int restant = L - caractere + 1;
  return restant <= 8 ? std::max(restant, 0) : 8;
}

// After a tick: past the line's end, the next line from its start. False once the last
// line is done: the replay stops, back at the first line.
inline bool SuiteWTW(int& ligne, int& caractere) {
  const int L = static_cast<int>(TramesWTW[static_cast<std::size_t>(ligne) % TramesWTW.size()].size());
  if (caractere <= L) return true;
  ++ligne;
  caractere = 1;
  if (ligne < static_cast<int>(TramesWTW.size())) return true;
  ligne = 0;
  return false;
}
