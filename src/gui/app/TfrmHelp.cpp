#include "commands.h"

void openAboutWindow(TfrmMainWin&, int) {}
