#pragma once

#include <QString>

namespace kavoret {

class Dialogs;
class InstanceGuard;

inline const QString kDuplicateInstanceMessage = QStringLiteral(
    "このプログラムと同じプログラムがすでに起動され、完全に終了されていません。同じプログラムを完全に終了させてから実行してください。");

// The first step of loading the name selection screen: when another instance
// of this program runs, says so and returns true (this process must end).
bool refuseDuplicateInstance(InstanceGuard& guard, Dialogs& dialogs);

} // namespace kavoret
