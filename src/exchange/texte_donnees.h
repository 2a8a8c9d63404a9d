// The data text handed to the analysis program: the whole table with its headings,
// the page comment and constants and the markers, tab-separated, CR LF after every line.
#pragma once

#include <string>

class TCinetiqueMain;

// `cheminProgramme`: the full path of this program, the text's first line. The valid
// constants' names are first made distinct from the columns and written back into
// the engine's page information, where the page dialog shows them.
std::string TexteDonnees(TCinetiqueMain& moteur, const std::string& cheminProgramme);

// A constant's name made distinct from the columns: "0" appended when it equals the
// abscissa's name, then the channel number c appended for each channel c (from 0 up)
// whose quantity symbol equals the name as it then stands.
std::string NomConstanteDistinct(const TCinetiqueMain& moteur, std::string nom);
