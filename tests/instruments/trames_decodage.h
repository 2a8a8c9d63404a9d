// The decoder's fixture: definitions as a device file holds them and captured frames
// of common lab instruments, each with the value, unit and flags it must give and the
// public description its layout follows. Shared by the decoder tests and the benchmark.
#pragma once

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace fixtures_decodage {

// The definitions as a device file holds them. The layouts come from the makers'
// manuals as publicly described (cited on each frame below).
inline const char* const Definitions = R"([TPS 901-PH]
; polled: "?D" CR, answer DDDDDD UU ssss TTTTTT oCm CR (6-character pH, unit, two
; blanks, 6-character temperature, "oC" and a blank or "m"). Only pH-mode answers count.
Nom=pH
Symbole=pH
Unité=
Mini=0
Maxi=14
Precision=3
Demande=?D|CR|
TexteVerif=pH
NumVerif=1
FiltreDepasse=1

[TPS 901-PH T]
; the temperature of the same answer: the second number, checked by its "oC"
Nom=température
Symbole=θ
Unité=°C
Mini=-5
Maxi=105
Demande=?D|CR|
Numero=2
TexteVerif=oC
NumVerif=1

[TPS 901-C]
; polled: "?D" CR, answer CCCCCC UUU s TTTTTT oC s CR; UUU is "uS ", "mS ", "ppM" or
; "ppK": the prefix letter scales the value, "S" must follow it (TDS answers refused).
Nom=conductivité
Symbole=σ
Unité=mS
LireCoeffUnite=1
LireNomUnite=1
Mini=0
Maxi=0.2
Precision=4
Demande=?D|CR|
TexteVerif=S
NumVerif=2

[Sartorius 16]
; 16-character print format: sign, blank, 8 characters of weight (leading zeros as
; blanks), blank, 3 of unit, CR LF. The blank is declared as the digit-group mark so
; that the sign and the digits it is parted from read as one number.
Nom=masse
Symbole=m
Unité=g
Fixe=1
Debut=1
NombreCarac=16
Séparateur=32
Mini=-2200
Maxi=2200
Precision=6

[A&D EK]
; ST,+00123.45  g CR LF: header (ST stable, US unstable, QT count, OL out of range),
; comma, 9 characters with sign and point, 3 of unit. Only gram data counts.
Nom=masse
Symbole=m
Unité=g
Mini=0
Maxi=200
Precision=6
TexteVerif=g
NumVerif=3
FiltreDepasse=1

[A&D EK non filtrée]
Nom=masse
Symbole=m
Unité=g
Mini=0
Maxi=200
TexteVerif=g
NumVerif=3
FiltreDepasse=0

[EDT RE357 T]
; "RD" answer of three lines: pH, temperature, mV; the temperature is the second number
Nom=température
Symbole=T
Unité=°C
Mini=-10
Maxi=110
NombreLigne=3
Numero=2

[Sper 850055]
; transmits every second: p07.02pH: m012.3mV:T025.0C@ 2007-04-18 18:48:48 LRC CR LF;
; the frame starts at its "p", the pH two characters in
Nom=pH
Symbole=pH
Unité=
Continu=1
Demande=p
Debut=2
NombreLigne=1
Mini=0
Maxi=14

[Titronic]
; the burette's volume answer: 01V= then the volume and CR
Nom=volume
Symbole=V
Unité=mL
Continu=1
Demande=01V=
Debut=5
Mini=0
Maxi=50

[Balance g]
; self-transmitting: the number sits in the eight characters before the g
Nom=masse
Symbole=m
Unité=g
Continu=1
Demande=g
Debut=-8
Mini=0
Maxi=1000
)";

struct CasTrame {
  const char* nom;
  const char* definition;  // section of Definitions
  std::string trame;       // escape notation of the device file
  double avant;            // ValeurCourante before the frame
  double attendue;         // NaN: no value
  const char* unite;       // UniteGrandeur afterwards
  bool depassement;
  const char* source;
};

// A failing case names itself and the description its layout follows.
inline void PrintTo(const CasTrame& c, std::ostream* os) { *os << c.nom << " (" << c.source << ")"; }

inline const double Rien = std::nan("");

inline const std::vector<CasTrame> Trames = {
    CasTrame{"pH_metre_interroge", "TPS 901-PH", "  7.02pH    25.0oC |CR|", 0, 7.02, "", false,
             "TPS 901-PH manual, 6.6 Data Format (answer to ?D)"},
    CasTrame{"pH_metre_acide", "TPS 901-PH", "  1.68pH    24.8oCm|CR|", 0, 1.68, "", false,
             "TPS 901-PH manual, 6.6 (oCm: manual temperature compensation)"},
    CasTrame{"pH_metre_en_mode_mV_refuse", "TPS 901-PH", "-123.4mV    25.0oC |CR|", 7.02, 7.02, "", false,
             "TPS 901-PH manual, 6.6 (data follow the selected mode)"},
    CasTrame{"pH_metre_occupe_refuse", "TPS 901-PH", "BUSY|CR|", 7.02, 7.02, "", false,
             "TPS 901-PH manual, 6.6 note 4"},
    CasTrame{"pH_metre_temperature_second_nombre", "TPS 901-PH T", "  7.02pH    25.0oC |CR|", 0, 25.0, "°C",
             false, "TPS 901-PH manual, 6.6"},
    CasTrame{"conductimetre_milli", "TPS 901-C", "  12.5mS    25.0oC |CR|", 0, 0.0125, "S", false,
             "TPS 901-C manual, 6.6 Data Format (answer to ?D)"},
    CasTrame{"conductimetre_micro", "TPS 901-C", "  1413uS    25.0oC |CR|", 0, 0.001413, "S", false,
             "TPS 901-C manual, 6.6"},
    CasTrame{"conductimetre_TDS_refuse", "TPS 901-C", "   640ppM   25.0oC |CR|", 0.0125, 0.0125, "S", false,
             "TPS 901-C manual, 6.6 (ppM and ppK are TDS)"},
    CasTrame{"conductimetre_hors_gamme", "TPS 901-C", "  +OVRmS    25.0oC |CR|", 0.0125, 0.0125, "S", false,
             "TPS 901-C manual, 6.6 note 1 (+OVR when over range)"},
    CasTrame{"balance_signe_et_blancs", "Sartorius 16", "+   123.56 g  |CR||LF|", 0, 123.56, "g", false,
             "Sartorius LE series manual, output format with 16 characters"},
    CasTrame{"balance_negative", "Sartorius 16", "-    12.30 g  |CR||LF|", 0, -12.3, "g", false,
             "Sartorius LE series manual, 16 characters (sign in position 1)"},
    CasTrame{"balance_mille_grammes", "Sartorius 16", "+   1255.7 g  |CR||LF|", 0, 1255.7, "g", false,
             "Sartorius Master series manual, data output example +1255.7 g"},
    CasTrame{"balance_instable_sans_unite", "Sartorius 16", "+   123.57     |CR||LF|", 0, 123.57, "g", false,
             "Sartorius LE series manual (no unit symbol until stable)"},
    CasTrame{"balance_stable", "A&D EK", "ST,+00123.45  g|CR||LF|", 0, 123.45, "g", false,
             "A&D EK-L series manual, 9-2 Data format"},
    CasTrame{"balance_instable", "A&D EK", "US,+00123.47  g|CR||LF|", 0, 123.47, "g", false,
             "A&D EK-L series manual, 9-2 (US: unstable)"},
    CasTrame{"balance_comptage_refuse", "A&D EK", "QT,+00012345 PC|CR||LF|", 123.45, 123.45, "g", false,
             "A&D EK-L series manual, 9-2 (QT: counting data)"},
    CasTrame{"balance_surcharge_filtree", "A&D EK", "OL,+999999.9  g|CR||LF|", 123.45, Rien, "g", false,
             "A&D EK-L series manual, 9-2 (OL: out of range)"},
    CasTrame{"balance_surcharge_negative_filtree", "A&D EK", "OL,-999999.9  g|CR||LF|", 1, Rien, "g", false,
             "A&D EK-L series manual, 9-2"},
    CasTrame{"balance_surcharge_signalee", "A&D EK non filtrée", "OL,+999999.9  g|CR||LF|", 123.45, 999999.9,
             "g", true, "A&D EK-L series manual, 9-2"},
    CasTrame{"trois_lignes_temperature", "EDT RE357 T", "pH   7.00pH|CR||LF|T    21.5 °C|CR||LF|mV   0.2mV|CR||LF|",
             0, 21.5, "°C", false, "EDT RE357 manual, RD - send current readings"},
    CasTrame{"flux_plusieurs_lignes_la_derniere_complete", "Sper 850055",
             "p07.01pH: m012.3mV:T025.0C@ 2007-04-18 18:48:47K|CR||LF|"
             "p07.02pH: m011.9mV:T025.0C@ 2007-04-18 18:48:48K|CR||LF|p07.0",
             0, 7.02, "", false, "Sper Scientific 850055 manual, protocol information (LRC shown as K)"},
    CasTrame{"burette_volume", "Titronic", "01V=12.345|CR|", 0, 12.345, "mL", false,
             "burette volume answer (the Titronic's 01V=)"},
};

}  // namespace fixtures_decodage
