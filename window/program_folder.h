#pragma once

#include <QString>
#include <filesystem>
#include <string>

// The folder of the running program, exactly as the system names it, so that
// its bitmaps are read from there and nowhere else. On Linux the name is
// read as bytes, which need not be text in any encoding; elsewhere Qt's
// answer is exact (Windows names are UTF-16).
std::filesystem::path programFolder();

// A folder named as text.
std::filesystem::path pathFromText(const QString& text);

// The board holds a path as a string: the name's bytes where the system's
// names are bytes (Linux), UTF-8 where they are text (Windows). These convert
// between the two without losing a byte.
std::string heldPath(const std::filesystem::path& path);
std::filesystem::path pathFromHeld(const std::string& held);
