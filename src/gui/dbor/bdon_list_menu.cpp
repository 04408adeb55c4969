#include "dbor/bdon_list_menu.h"

#include "host/WindowHost.h"
#include "message_service.h"

#include "dbor/bdon_list.h"

void rebuildBdonList(WindowHost& host) {
    SharedState& state = host.state();
    kov::BdonListRebuild rebuilt = kov::rebuild_bdon_list(state.workspace, state.shell);
    state.bdonList = std::move(rebuilt.entries);
    if (!rebuilt.warning.empty()) {
        host.messages().warning(QString::fromStdString(rebuilt.warning));
    }
}
