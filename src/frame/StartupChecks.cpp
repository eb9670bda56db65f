#include "frame/StartupChecks.h"

#include "frame/ScreenFlow.h"
#include "platform/Dialogs.h"
#include "platform/InstanceGuard.h"

namespace kavoret {

bool refuseDuplicateInstance(InstanceGuard& guard, Dialogs& dialogs) {
    if (guard.claim())
        return false;
    dialogs.message(kDuplicateInstanceMessage, QStringLiteral("注意"), Dialogs::Icon::Error);
    return true;
}

} // namespace kavoret

namespace kavoret {

void handOverFromSplash(SharedState& state, const QString& programFolder,
                        const FolderSetupLoaders& loaders, Dialogs& dialogs, ScreenFlow& flow) {
    if (Status setUp = setUpFolders(state, programFolder, loaders); !setUp) {
        dialogs.message(setUp.error().message, QStringLiteral("Kavoret"), Dialogs::Icon::Error);
        flow.endProgram(1);
        return;
    }
    flow.showNameSelection();
}

} // namespace kavoret
