// Test support shared by the suites that make scratch folders.
#pragma once

#include <string>

// Deletes a folder with everything below it, read-only files included.
void RemoveTree(const std::string &path);
