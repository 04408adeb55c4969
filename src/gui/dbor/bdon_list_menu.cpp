#include "commands.h"

void rebuildBdonList(TfrmMainWin&) {}
