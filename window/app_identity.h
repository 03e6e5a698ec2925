#pragma once

// How desktops know the program: by its window class "tarvik", which the
// desktop entry names as StartupWMClass, by the entry's own name, and by its
// icon, the installed theme icon or else the copy built into the program.
// Call it before the first window is created.
void identifyApplication();
