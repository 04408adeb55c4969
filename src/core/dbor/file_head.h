#pragma once

// Partial reads for the header-only readers of the data files (BDON, task, solution, statistics
// headers): only the first bytes of a file are read, however long it is.

#include "io/binary.h"

#include <cstddef>
#include <string>

namespace kov {

// The first `n` bytes of a file, fewer when it is shorter. Missing file: FileError::Missing;
// unreadable: FileError::Read.
Bytes read_file_head(const std::string& path, std::size_t n);

} // namespace kov
