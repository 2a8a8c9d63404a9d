// Names of the main window's controls in the view model.
#pragma once

#include <string>

namespace ctl {
inline constexpr const char* EnregistreBtn = "EnregistreBtn";
inline constexpr const char* RepereBtn = "RepereBtn";
inline constexpr const char* UndoBtn = "UndoBtn";
inline constexpr const char* StopBtn = "StopBtn";
inline constexpr const char* ResetBtn = "ResetBtn";
inline constexpr const char* TraSaveBtn = "TraSaveBtn";
inline constexpr const char* CopyBtn = "CopyBtn";
inline constexpr const char* PleinEcranBtn = "PleinEcranBtn";
inline constexpr const char* BuretteBtn = "BuretteBtn";
inline constexpr const char* HelpBtn = "HelpBtn";
inline constexpr const char* ModeAcqBtn = "ModeAcqBtn";  // valeur: image index of the mode
inline constexpr const char* NouveauFichierItem = "NouveauFichierItem";  // "Enregistre nouveau fichier"
inline constexpr const char* NouvellePageItem = "NouvellePageItem";      // "Enregistre nouvelle page"
inline constexpr const char* PanelTemps = "PanelTemps";
inline constexpr const char* DureeEdit = "DureeEdit";
inline constexpr const char* DeltaLabel = "DeltaLabel";
inline constexpr const char* DeltatSE = "DeltatSE";  // valeur, mini, maxi
inline constexpr const char* NombreLabel = "NombreLabel";
inline constexpr const char* LabelPb = "LabelPb";
inline constexpr const char* PanelDuree = "PanelDuree";
inline constexpr const char* ClavierGB = "ClavierGB";
inline constexpr const char* ClavierEdit = "ClavierEdit";

inline std::string GroupBox(int i) { return "GroupBox" + std::to_string(i); }
inline std::string Label(int i) { return "Label" + std::to_string(i); }
inline std::string Stable(int i) { return "Stable" + std::to_string(i); }
}  // namespace ctl
