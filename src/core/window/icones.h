// The toolbar pictures, drawn at start-up: an image list of 22 images, "Item1" to
// "Item17", "CANCEL", "GEARS", "print", "tools" and "ficopen"; index k is image k.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace icones {
// Index of the picture of each command.
inline constexpr int Fichier = 21;      // ficopen
inline constexpr int Burette = 1;       // Item2: the titration mode and "Dosage"
inline constexpr int Acquerir = 2;
inline constexpr int Repere = 3;
inline constexpr int Defaire = 4;
inline constexpr int Stop = 5;
inline constexpr int Raz = 6;
inline constexpr int Tracoria = 7;
inline constexpr int Copier = 8;
inline constexpr int Multimetre = 9;
inline constexpr int AjouterAppareil = 10;
inline constexpr int Aide = 11;
inline constexpr int APropos = 12;
inline constexpr int Clavier = 13;      // Item14: the keyboard-entry mode
inline constexpr int Temps = 14;        // Item15: the time base
inline constexpr int Increment = 15;    // Item16: the space-bar mode
inline constexpr int Maitre = 16;       // Item17: the master-channel mode
inline constexpr int Annuler = 17;      // CANCEL
inline constexpr int Engrenages = 18;   // GEARS
inline constexpr int Imprimer = 19;     // print
inline constexpr int Outils = 20;       // tools
inline constexpr int Nombre = 22;
}  // namespace icones

// The name of image k in the list.
const char* NomIcone(int index);
// Image k drawn `taille` pixels square.
QPixmap DessineIcone(int index, int taille);
QIcon Icone(int index, int taille);
// Side of the toolbar pictures for the screen: 20, 40 at 192 dpi, 60 from 288 dpi.
int TailleIcones(double pointsParPouce);
// The stability indicator: a green tick when stable, an amber wave when not.
QIcon IconeStabilite(int taille);
