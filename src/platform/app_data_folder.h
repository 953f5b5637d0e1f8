#pragma once
// The user's local application-data folder, where the settings file lives.
#include <string>

// Absolute path of the folder, created when missing; empty when it cannot be made.
std::string GetLocalAppDataFolder();
