// Where the analysis program's executable is: its settings, then beside this program,
// then the current folder.
#pragma once

#include <string>
#include <vector>

class TReglages;
class TShell;

// The executable's file names tried in each folder, in order ("tracoria.exe", and on
// Linux also "tracoria").
std::vector<std::string> NomsExecutableTracoria();

// The first candidate at which a file exists: the "Path" value of
// Software\Tracoria\Tracoria, then that of Software\Tracoria (each skipped when absent
// or empty), then the folder of this program, then the current folder (the result is
// then made absolute). Empty when none exists.
std::string LocaliseTracoria(const TReglages& reglages, const TShell& shell);
