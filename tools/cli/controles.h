// What a headless run checks before anything is sent to an instrument (its files, its
// ports, where its results go), and the writing of its results, which says why a
// write failed and keeps the table in a copy of its own.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/serie.h"

class TBaseAppareils;
class TCinetiqueMain;

// Nothing when the file can be read; otherwise the whole French message, `quoi` first
// ("Fichier introuvable : x", "Fichier illisible : x (c'est un dossier)").
std::optional<std::string> MessageFichierEntree(const std::string& quoi, const std::string& chemin);
// Nothing when the path is a serial device (or one another program holds); otherwise
// why it is none ("ce n'est pas une voie série").
std::optional<std::string> RaisonPortRefuse(const std::string& chemin);
// The ports of a headless run: those given on its command line, over the entries of
// PELITRAX_PORTS (`variable`, may be absent); never the system's own serial ports.
// False with the message when an entry is malformed, given twice, or no serial device.
bool PortsDuRun(const std::map<int, std::string>& donnes, const std::optional<std::string>& variable,
                TSeriePlateforme& serie, std::map<int, std::string>& ports, std::string& message);
// The table as PELITRAX_PORTS text ("COM3=/dev/pts/5;COM4=/dev/pts/6").
std::string TexteTablePorts(const std::map<int, std::string>& ports);
// Nothing when every channel the configuration file will give (and the base's burette
// in the titration mode) has its COM number among `ports`; otherwise the message
// naming the first one without. USB meters and box inputs need no port.
std::optional<std::string> PortManquant(const std::string& config, const std::map<int, std::string>& ports,
                                        const TBaseAppareils& base);

// Nothing when a file can be written there now: the name is not empty, is no folder,
// FIFO or device, and its folder takes a file of a few kilobytes (a probe, removed
// at once). Otherwise why not.
std::optional<std::string> RaisonSortieImpossible(const std::string& chemin);

// The table into `sortie` in the form its extension gives. On failure the message
// says why, and the table goes to a copy of its own beside the running text copy
// `nomFichierTexte`, named in the message. False on failure, even when the copy was
// written.
bool EcritTableSortie(TCinetiqueMain& moteur, const std::string& sortie, const std::string& nomFichierTexte);

// Stop asked from outside (Ctrl-C, the end of the input): the points recorded are
// kept, however few, where "Stop" in the window would clear fewer than three.
void ArreteEnGardantLesPoints(TCinetiqueMain& moteur);
