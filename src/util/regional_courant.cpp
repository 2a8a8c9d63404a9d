// The regional settings in force for the number helpers, installed by main() or a test.
#include "util/regional_courant.h"

namespace {
const TParametresRegionaux* regionalCourant = nullptr;
}

void InstalleRegional(const TParametresRegionaux* regional) { regionalCourant = regional; }

// Asked at every call: the user may change the separator while the program runs.
char SeparateurDecimal() { return regionalCourant ? regionalCourant->SeparateurDecimal() : '.'; }
