// The French help of pelitrax-cli: the summary of the sub-commands and each
// sub-command's options with an example, on the standard output.
#pragma once

// True when the arguments after the sub-command (or after the program's name) ask for
// the help: "--help", "-h" or "--aide" anywhere among them.
bool AideDemandee(int argc, char** argv);

// The summary of every sub-command (`sortie`: stdout for --help, stderr after a
// usage error).
void AfficheResume(bool surErreur);

// The help of one sub-command; false when `sousCommande` names none.
bool AfficheAide(const char* sousCommande);

// The usage lines of one sub-command (its help up to the first blank line), on the
// standard error after a usage error.
void AfficheUsage(const char* sousCommande);
