// Looking an entry point of a vendor library up as a typed function pointer.
#pragma once

#include "platform/divers.h"

// False when the library lacks it (`f` is then null).
template <typename F>
bool ChercheEntree(TBibliotheque& bibliotheque, const char* nom, F& f) {
  f = reinterpret_cast<F>(bibliotheque.Symbole(nom));
  return f != nullptr;
}
