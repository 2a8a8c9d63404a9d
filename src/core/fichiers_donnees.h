// The data files of the table: the analysis program's data file (.qw3), the text and
// CSV tables, and the menu item that writes one of them. Each file's text is built
// whole in memory first, then written in one go through a temporary file, so that a
// failed save never leaves a truncated file in place of a good one.
#pragma once

#include <string>
#include <vector>

#include "core/page_info.h"

class TCinetiqueMain;

enum class TFormeFichier { QW3, Texte, CSV };

namespace fichiers_donnees {
inline constexpr const char* TitreSauvegarde = "Sauvegarde données";
inline constexpr const char* FiltreSauvegarde =
    "Tracoria (*.qw3)|*.qw3|Tableur ASCII (*.txt)|*.txt|Tableur CSV (*.csv)|*.csv";
inline constexpr const char* ExtensionSauvegarde = "QW3";
inline constexpr const char* MessageErreur = "Erreur d'écriture de ";
}  // namespace fichiers_donnees

// The extension of a file name: from its last '.' after its last folder separator
// (".qw3" for "essai.Qw3" keeps its case); empty when it has none.
std::string ExtensionFichier(const std::string& nom);
// By the extension, case ignored: .qw3 the data file, .csv the CSV table, anything
// else (none included) the text table.
TFormeFichier FormeDuNom(const std::string& nom);

// The comment lines of the page: a line holding line breaks counts as several, and
// trailing empty lines do not count (the dialog's comment starts as one empty line).
std::vector<std::string> LignesCommentaire(const TPageInfo& page);

// The texts below are UTF-8; line ends included. Numbers of the data file carry the
// user's decimal separator, those of the tables '.'.
// Header of the data file, ending with the executable's path line.
std::string EcritEntete(const TCinetiqueMain& moteur, const std::string& executable);
// Its page; `dateHeure`: the current date and time in the user's short date and long
// time formats, separated by a blank.
std::string EcritPage(const TCinetiqueMain& moteur, const std::string& dateHeure);
std::string FinLigneTableau(bool csv);
// The two heading lines of the text or CSV table.
std::string EcritEnteteTableau(const TCinetiqueMain& moteur, bool csv);
// Its points, then its markers and constants.
std::string EcritValeursTableau(const TCinetiqueMain& moteur, bool csv);
// The whole file of the given form.
std::string TexteFichierDonnees(const TCinetiqueMain& moteur, TFormeFichier forme, const std::string& executable,
                                const std::string& dateHeure);
// The bytes of that file as written now: dated with the platform's clock in the user's
// formats, in Windows-1252.
std::string OctetsFichierDonnees(TCinetiqueMain& moteur, TFormeFichier forme, const std::string& executable);

// The running program's full path (the target of /proc/self/exe); empty when unknown.
std::string CheminExecutableCourant();

// Writes the table to `nom` in the form its extension gives (Windows-1252): sets
// FormatQW3, formatCSV and NomFichierData; on success PagePermise and dataSaved become
// true; on failure dataSaved is false, the message "Erreur d'écriture de " + nom is
// shown, and a file already there is left as it was.
bool EcritFichierDonnees(TCinetiqueMain& moteur, const std::string& nom,
                         const std::string& executable = CheminExecutableCourant());
// Menu item "Enregistre nouveau fichier": the save dialog, then EcritFichierDonnees.
// False when cancelled or not written.
bool SaveItemClick(TCinetiqueMain& moteur, const std::string& executable = CheminExecutableCourant());
