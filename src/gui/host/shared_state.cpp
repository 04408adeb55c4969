#include "host/shared_state.h"

#include "io/files.h"

std::string SharedState::path(const std::string& relative) const {
    return kov::ws_path(workspace, relative);
}
