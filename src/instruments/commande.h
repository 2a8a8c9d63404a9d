// The escape notation of the strings exchanged with instruments (a control character
// written as its name between two bars) and the display of received bytes.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Names of the control characters 0..31.
extern const std::array<const char*, 32> NomsControle;

// Escaped UTF-8 text -> bytes (at most 250): "|ESC|P|CR||LF|" gives 27 80 13 10,
// "a||b" gives "a|b"; a character above 127 becomes its Windows-1252 byte; an
// unknown name gives a blank.
std::string DecodeCommande(std::string_view texte);
// Bytes -> escaped UTF-8 text, the reverse of DecodeCommande: control bytes as
// "|NAME|", a '|' as "||", bytes above 127 as their Windows-1252 character.
std::string CodeCommande(std::string_view octets);
// Received bytes as display lines (UTF-8): a line ends after each carriage return.
void LignesRecues(std::string_view octets, std::vector<std::string>& lignes);
// Number of carriage returns (13).
std::size_t CompteRetours(std::string_view octets);
