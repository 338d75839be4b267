// Children and their files for the stress tests: a program run in a folder
// that is also its HOME, and byte-for-byte comparison of what two runs wrote.
#pragma once

#include <string>
#include <vector>

// Runs the program with its arguments in the folder; standard output and error
// go to files there. Returns the exit status, or 128 + signal.
int runIn(const std::string& folder, const std::vector<std::string>& arguments);
// The names of the regular files in a folder whose names end with one of the suffixes, sorted.
std::vector<std::string> filesEndingWith(const std::string& folder,
                                         const std::vector<std::string>& suffixes);
std::string readWhole(const std::string& path);
