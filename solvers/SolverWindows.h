// The standalone solver windows installed in the registry of solver windows.
#pragma once

// Installs the makers of the assignment window (type 88) and the regression window (type 104); call
// once at start-up, before the main window opens them.
void InstallSolverWindows();
