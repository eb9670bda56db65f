#pragma once

#include "frame/ItemFile.h"
#include "frame/Result.h"
#include "frame/SharedState.h"

#include <functional>

namespace kavoret {

inline const QString kPathFileName = QStringLiteral("パスデータ.txt");
inline const QString kSettingsFileName = QStringLiteral("共通データ.txt");
inline const QString kHomeSwitchFileName = QStringLiteral("塾管理家庭用sw.txt");
inline const QString kRankingServerFileName = QStringLiteral("ランキングサーバー.txt");
inline const QString kSoundFolderName = QStringLiteral("音フォルダ");

// The tables read at the end of the folder setup, by their own subsystems.
struct FolderSetupLoaders {
    std::function<Status(SharedState&)> criteria;
    std::function<Status(SharedState&)> cueTable;
};

// Finds the root and data folders from the program's folder and the path file
// beside it, reads the shared settings and the home-use switch, applies the
// program identity and runs the loaders. On the first failure it stops with a
// message naming the file and the problem; nothing has been written then. The
// home-use switch file is created (empty) only once everything has been read.
Status setUpFolders(SharedState& state, const QString& programFolder,
                    const FolderSetupLoaders& loaders);

// The last path component of a folder ("…/drill/abc1" → "abc1").
QString lastFolderName(const QString& folder);

// homeMode from the items of the home-use switch file.
int homeModeFrom(const QList<Item>& items);

} // namespace kavoret
