#pragma once

#include "io/error.h"

#include <QString>

struct SharedState;

// The message of a file that cannot be read, written or understood, in the shell's language,
// naming the file (relative to the Workspace where it lies inside it).
QString fileErrorText(const SharedState& state, const kov::FileError& error);

// The message of a protocol write that failed or was refused (shell text 205), naming the file
// and saying why.
QString protocolWriteErrorText(const SharedState& state, const kov::FileError& error);
