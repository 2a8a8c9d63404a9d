// The Qt side of the link's tests: the one application object of the process, and
// the loop run until something happened.
#pragma once

#include "commun/attente.h"
#include "platform/qt/boucle_qt.h"
#include "tools/application_qt.h"
