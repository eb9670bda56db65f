#include "frame/StartupChecks.h"

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
