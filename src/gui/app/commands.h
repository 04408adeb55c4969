#pragma once

// The windows the main menu opens, each defined beside its window class. Every one of them
// follows the window discipline of TfrmMainWin::openCommandWindow.
class TfrmMainWin;

// The about windows: mode 1 about the system, mode 2 about the developer.
void openAboutWindow(TfrmMainWin& main, int mode);

// Rebuilds the list of databases when the database menu opens (warnings through the main
// window's message service).
void rebuildBdonList(TfrmMainWin& main);

// The optimisation module window (main menu Optim, or the task wizard's immediate solving).
void openOptimWindow(TfrmMainWin& main);

// The statistics creation window (main menu N6).
void openStatisticsWindow(TfrmMainWin& main);
