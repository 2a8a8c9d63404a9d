// The regional settings in force, installed by main() or a test from its platform.
// The number helpers read the decimal separator here at each call.
#pragma once

#include "platform/regional.h"

void InstalleRegional(const TParametresRegionaux* regional);  // null: '.'
char SeparateurDecimal();
