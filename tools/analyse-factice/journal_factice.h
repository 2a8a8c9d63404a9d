// The record of what the stand-in analysis program received: each command, and the
// clipboard text it read after a clipboard command, each as a length-prefixed block
// so that any text (tabs, line breaks) reads back exactly.
//   commande <n>\n<n bytes>\n
//   presse-papiers <n>\n<n bytes>\n
#pragma once

#include <optional>
#include <string>
#include <vector>

struct TEntreeJournal {
  std::string genre;  // "commande" or "presse-papiers"
  std::string texte;
};

std::string BlocJournal(const std::string& genre, const std::string& texte);
// Nothing when the text is not a well-formed record.
std::optional<std::vector<TEntreeJournal>> LitJournal(const std::string& contenu);
