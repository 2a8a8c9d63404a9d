// The 55 ms tick timers live with the helpers, so the burette's exchanges can use
// them too; serial code keeps including this name.
#pragma once

#include "util/ticks.h"
