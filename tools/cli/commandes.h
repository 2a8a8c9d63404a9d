// The sub-commands of pelitrax-cli, one file each.
#pragma once

int CommandeDemarrage(int argc, char** argv);  // start-up sequence, headless
int CommandeDecode(int argc, char** argv);     // frames on stdin -> decoded values
int CommandePorts(int argc, char** argv);      // the COM port table
int CommandeAcquire(int argc, char** argv);    // a whole acquisition without a window
