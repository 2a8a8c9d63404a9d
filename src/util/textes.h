// Text helpers: Greek transcription, folder paths, questions, opening documents.
#pragma once

#include <string>
#include <string_view>

#include "platform/dialogue.h"
#include "platform/shell.h"

// Greek letters replaced by the characters the analysis program's data file expects
// (alpha -> code 128 ...). Input and output are UTF-8; each code is written as the
// Unicode character that Windows-1252 encodes by that byte, so the file codec turns
// it back into the byte itself.
std::string TranscritGrec(std::string_view texte);

// Appends the folder separator ('/') unless the path is empty or already ends in one.
std::string AvecSeparateurFinal(const std::string& chemin);

// The shell folder with its trailing separator; `dossier` unchanged when the shell fails
// (an empty answer counts as a failure).
void DossierSpecial(const TShell& shell, TDossierShell id, std::string& dossier);

// Yes/No question; true only for Yes.
bool Confirmation(TDialogueUtilisateur& dialogue, const std::string& question);

// "open" on a document or address; on failure the information box
// "Impossible d'accéder à " + cible.
void OuvreDocument(TShell& shell, TDialogueUtilisateur& dialogue, const std::string& cible);

// The folder "Tracoria" in the user's documents, with its trailing separator; set at
// start-up by InitialiseDossierDocuments (created when missing, failure ignored).
const std::string& DossierDocuments();
void InitialiseDossierDocuments(TShell& shell);

// Lower-casing of ASCII letters only, and comparison ignoring ASCII case.
std::string MinusculesAscii(std::string_view texte);
bool EgalSansCasse(std::string_view a, std::string_view b);
