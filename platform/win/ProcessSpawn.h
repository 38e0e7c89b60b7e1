// Starting other programs: the desktop's helpers (xdg-mime, xdg-email) and the programs they
// name. Standard input is always /dev/null: a started program never waits on ours.
#pragma once

#include <string>
#include <vector>

// The full path of an executable file called name in a folder of PATH; name itself when it
// holds a "/" and is executable; empty when there is none.
std::string FindOnPath(const std::string& name);

// Starts argv[0] (searched on PATH) in a session of its own and returns without waiting for
// it. True once the program is running; false with *error (an errno value) when it could not
// be started. The child is reaped in the background, so it never lingers as a zombie.
bool SpawnDetached(const std::vector<std::string>& argv, int* error = nullptr);

// Starts argv[0] like SpawnDetached, then watches it for up to `graceMs`: a program that ends
// within that time with a non-zero status (a mail program that refused its arguments) counts
// as a failed start. True when it is still running or ended with status 0.
bool SpawnAndWatch(const std::vector<std::string>& argv, int graceMs, int* error = nullptr);

// Runs argv[0] (searched on PATH) to its end and collects what it writes to standard output.
// False when it could not be started or did not exit with status 0.
bool RunForOutput(const std::vector<std::string>& argv, std::string& output);
