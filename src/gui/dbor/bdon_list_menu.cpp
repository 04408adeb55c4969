#include "commands.h"

#include "TfrmMainWin.h"
#include "dbor/bdon_list.h"
#include "message_service.h"

// The list of databases is rebuilt by the core; the window only stores it and shows
// the warning the core composed.
void rebuildBdonList(TfrmMainWin& main) {
    SharedState& state = main.state();
    kov::BdonListRebuild rebuilt = kov::rebuild_bdon_list(state.workspace, state.shell);
    state.bdonList = std::move(rebuilt.entries);
    if (!rebuilt.warning.empty() && state.messages) {
        state.messages->warning(QString::fromStdString(rebuilt.warning));
    }
}
