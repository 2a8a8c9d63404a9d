// Steps shared by the window tests: the bench pH meter chosen through the instrument
// selection dialog, typing in the duration and interval fields, reading a file.
#pragma once

#include <QSpinBox>

#include <filesystem>
#include <string>

class QLineEdit;
class QWidget;
class TFenetreChoixApp;

std::string LitFichierEssai(const std::filesystem::path& chemin);
void Clique(QWidget* w);
// "Banc virtuel pH-mètre" on channel 0, listening on COM3; then OK.
void ChoisitPhMetre(TFenetreChoixApp& d);
// Types over the digits of a shown duration "hh:mm:ss", keeping its separators.
void TapeDuree(QLineEdit* e, const QString& heures, const QString& minutes, const QString& secondes);
void TapeEntier(QSpinBox* s, int valeur);
