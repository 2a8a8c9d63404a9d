// The texts of `pelitrax-cli --help` and `pelitrax-cli SOUS-COMMANDE --help`. The man
// page (pelitrax-cli.1) says the same; a test checks that every option named here is
// also there.
#include "cli/aide.h"

#include <cstdio>
#include <cstring>

namespace {
struct TAide {
  const char* nom;
  const char* resume;
  const char* texte;  // usage, options, example; ends with a line break
};

const TAide aides[] = {
    {"demarrage", "démarre comme le programme, sans fenêtre, et dit ce qu'il a trouvé",
     "Usage : pelitrax-cli demarrage\n"
     "\n"
     "Déroule le démarrage du programme sans fenêtre et affiche ce qu'il a trouvé : le\n"
     "dossier des documents, les unités, les bibliothèques des appareils USB, la base\n"
     "d'appareils (le fichier RS232.INI du laboratoire, ou celui livré avec le programme),\n"
     "la burette et la table des ports série.\n"
     "\n"
     "Options : aucune.\n"
     "\n"
     "Exemple :\n"
     "  pelitrax-cli demarrage\n"},
    {"decode", "décode les trames lues sur l'entrée avec un modèle d'une base d'appareils",
     "Usage : pelitrax-cli decode --ini FICHIER --appareil NOM [--decimal ,|.]\n"
     "\n"
     "Lit une trame par ligne sur l'entrée standard (caractères de commande notés entre\n"
     "barres, comme dans la base : |CR|, |LF|...) et écrit pour chacune : la valeur avec\n"
     "son unité, le nombre, « stable » ou « instable », 1 en cas de dépassement.\n"
     "\n"
     "Options :\n"
     "  --ini FICHIER     la base d'appareils à lire (obligatoire)\n"
     "  --appareil NOM    le modèle de cette base qui décode les trames (obligatoire)\n"
     "  --decimal , ou .  le séparateur décimal de l'affichage (par défaut .)\n"
     "\n"
     "Exemple :\n"
     "  printf '  7.02pH    25.0oC |CR|\\n' | pelitrax-cli decode --ini /usr/share/pelitrax/RS232.INI \\\n"
     "      --appareil \"TPS 901-PH\" --decimal ,\n"},
    {"ports", "liste la table des ports COM",
     "Usage : pelitrax-cli ports\n"
     "\n"
     "Affiche la table des ports COM telle que le programme la voit : numéro, périphérique,\n"
     "état (présent, occupé, absent) et origine (réglages, PELITRAX_PORTS ou défaut).\n"
     "\n"
     "Options : aucune.\n"
     "\n"
     "Exemple :\n"
     "  PELITRAX_PORTS=\"COM3=/dev/ttyUSB0\" pelitrax-cli ports\n"},
    {"acquire", "fait une acquisition complète sans fenêtre et écrit le tableau",
     "Usage : pelitrax-cli acquire --ini FICHIER --config FICHIER.rs2 [--port COMn=PERIPHERIQUE]...\n"
     "                             [--sortie FICHIER] [--image FICHIER.png] [--duree S]\n"
     "                             [--increment V] [--oui|--non] [--usb-ph pH|potentiel]\n"
     "\n"
     "Charge une base d'appareils et une configuration, attend des valeurs sur chaque voie,\n"
     "déroule le mode d'acquisition de la configuration jusqu'à sa fin, puis écrit le tableau.\n"
     "En mode barre d'espace, chaque ligne vide de l'entrée standard est un appui sur\n"
     "« Acquérir » ; en mode clavier, chaque ligne est la valeur saisie. La fin de l'entrée\n"
     "ou Ctrl+C arrête l'acquisition.\n"
     "\n"
     "Options :\n"
     "  --ini FICHIER               la base d'appareils (obligatoire)\n"
     "  --config FICHIER.rs2        la configuration des voies et du mode (obligatoire)\n"
     "  --port COMn=PERIPHERIQUE    relie le port COMn à ce périphérique ; se répète\n"
     "  --sortie FICHIER            écrit le tableau (.qw3, .txt ou .csv selon l'extension)\n"
     "  --image FICHIER.png         écrit l'image de la courbe\n"
     "  --duree S                   durée de la base de temps, en secondes\n"
     "  --increment V               titrage par ajouts fixes de V mL (au plus 1)\n"
     "  --oui                       répond oui aux questions du programme\n"
     "  --non                       répond non aux questions du programme (par défaut)\n"
     "  --usb-ph pH|potentiel       grandeur lue par les pH-mètres USB OPH218 de la configuration\n"
     "                              (par défaut, celle que la configuration a enregistrée)\n"
     "\n"
     "Statut de sortie : 0 acquisition terminée, 1 aucun point ou erreur de port,\n"
     "2 usage incorrect ou fichier illisible.\n"
     "\n"
     "Exemple :\n"
     "  pelitrax-cli acquire --ini RS232.INI --config titrage.rs2 --port COM3=/dev/ttyUSB0 \\\n"
     "      --port COM4=/dev/ttyUSB1 --sortie titrage.csv --image titrage.png --oui\n"},
};
}  // namespace

bool AideDemandee(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--aide") == 0)
      return true;
  return false;
}

void AfficheResume(bool surErreur) {
  std::FILE* sortie = surErreur ? stderr : stdout;
  std::fprintf(sortie, "Usage : pelitrax-cli SOUS-COMMANDE [options]\n\nSous-commandes :\n");
  for (const TAide& a : aides) std::fprintf(sortie, "  %-10s %s\n", a.nom, a.resume);
  std::fprintf(sortie,
               "\n« pelitrax-cli SOUS-COMMANDE --help » détaille ses options, avec un exemple.\n"
               "Voir aussi : man pelitrax-cli\n");
}

bool AfficheAide(const char* sousCommande) {
  for (const TAide& a : aides)
    if (std::strcmp(a.nom, sousCommande) == 0) {
      std::fputs(a.texte, stdout);
      return true;
    }
  return false;
}

void AfficheUsage(const char* sousCommande) {
  for (const TAide& a : aides)
    if (std::strcmp(a.nom, sousCommande) == 0) {
      const char* fin = std::strstr(a.texte, "\n\n");
      std::fwrite(a.texte, 1, fin ? static_cast<std::size_t>(fin - a.texte) + 1 : std::strlen(a.texte), stderr);
    }
}
