#pragma once

#include <QString>

namespace kavoret {

class Dialogs;
class InstanceGuard;

inline const QString kDuplicateInstanceMessage =
    QStringLiteral("このプログラムと同じプログラムがすでに起動され、完全に終了されていません。同じ"
                   "プログラムを完全に終了させてから実行してください。");

// The first step of loading the name selection screen: when another instance
// of this program runs, says so and returns true (this process must end).
bool refuseDuplicateInstance(InstanceGuard& guard, Dialogs& dialogs);

} // namespace kavoret

#include "frame/FolderSetup.h"

namespace kavoret {

class ScreenFlow;

// What the splash's timer does: the folder setup, then the name selection
// screen. A failed setup is reported (naming the file and the problem) and
// ends the program; the name selection screen is then never shown.
void handOverFromSplash(SharedState& state, const QString& programFolder,
                        const FolderSetupLoaders& loaders, Dialogs& dialogs, ScreenFlow& flow);

} // namespace kavoret
