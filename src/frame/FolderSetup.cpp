#include "frame/FolderSetup.h"

#include "frame/ItemFile.h"
#include "frame/ProgramProfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kavoret {
namespace {

Error shortFile(const QString& path, qsizetype have, int need) {
    return Error{QStringLiteral(
                     "ファイル「%1」の項目が足りません（%2 項目必要ですが %3 項目しかありません）")
                     .arg(path)
                     .arg(need)
                     .arg(have)};
}

QString withSeparator(QString folder) {
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace

QString lastFolderName(const QString& folder) {
    QString name = folder;
    while (name.endsWith(u'/') && name.size() > 1)
        name.chop(1);
    const qsizetype slash = name.lastIndexOf(u'/');
    return slash < 0 ? name : name.mid(slash + 1);
}

int homeModeFrom(const QList<Item>& items) {
    return items.isEmpty() || items.back().text.isEmpty() ? 0 : 1;
}

Status setUpFolders(SharedState& state, const QString& programFolder,
                    const FolderSetupLoaders& loaders) {
    FolderState& folders = state.folders;
    const QString programDir = QDir::cleanPath(QFileInfo(programFolder).absoluteFilePath());
    folders.appFolder = withSeparator(programDir);

    // The path file beside the program's folder names the root of the family.
    const QString pathFile =
        QDir::cleanPath(folders.appFolder + QStringLiteral("../") + kPathFileName);
    Result<QList<Item>> pathItems = readItemFile(pathFile);
    if (!pathItems)
        return pathItems.error();
    if (pathItems.value().size() < 10)
        return shortFile(pathFile, pathItems.value().size(), 10);
    if (pathItems.value()[0].text.isEmpty())
        return Error{
            QStringLiteral("ファイル「%1」の最初の項目にルートフォルダがありません").arg(pathFile)};
    folders.rootFolder = withSeparator(pathItems.value()[0].text);

    const QString settingsFile = folders.rootFolder + kSettingsFileName;
    Result<QList<Item>> settings = readItemFile(settingsFile);
    if (!settings)
        return settings.error();
    const QList<Item>& s = settings.value();
    if (s.size() < 10)
        return shortFile(settingsFile, s.size(), 10);
    state.settings.schoolYearStartMonth = s[0].toInt();
    // Unquoted numbers are numbers: an unquoted school number 0012 is 12.
    state.settings.schoolName = s[1].valueText(); // replaced by item 9 below
    state.settings.includeStatus2 = s[2].toInt();
    state.settings.schoolName = s[8].valueText();
    state.settings.schoolNumber = s[9].valueText();

    folders.programFolderName = lastFolderName(programDir);
    folders.dataFolder = folders.rootFolder + folders.programFolderName + u'/';
    folders.soundFolder = folders.rootFolder + kSoundFolderName + u'/';

    const QString homeSwitchFile = folders.rootFolder + kHomeSwitchFileName;
    const bool homeSwitchExists = QFileInfo::exists(homeSwitchFile);
    if (homeSwitchExists) {
        Result<QList<Item>> homeItems = readItemFile(homeSwitchFile);
        if (!homeItems)
            return homeItems.error();
        state.settings.homeMode = homeModeFrom(homeItems.value());
    } else {
        state.settings.homeMode = 0;
    }

    // The ranking server is optional: without its file the program runs offline.
    state.settings.rankingServer.clear();
    const QString serverFile = folders.rootFolder + kRankingServerFileName;
    if (QFileInfo::exists(serverFile)) {
        Result<QList<Item>> serverItems = readItemFile(serverFile);
        if (!serverItems)
            return serverItems.error();
        if (!serverItems.value().isEmpty()) {
            QString address = serverItems.value()[0].text.trimmed();
            while (address.endsWith(u'/'))
                address.chop(1);
            state.settings.rankingServer = address;
        }
    }

    progselbas::applyIdentity(state.profile);

    if (loaders.criteria) {
        if (Status loaded = loaders.criteria(state); !loaded)
            return loaded;
    }
    if (loaders.cueTable) {
        if (Status loaded = loaders.cueTable(state); !loaded)
            return loaded;
    }

    if (!homeSwitchExists) {
        QFile created(homeSwitchFile);
        if (!created.open(QIODevice::WriteOnly | QIODevice::Append))
            return Error{QStringLiteral("ファイル「%1」を作れません: %2")
                             .arg(homeSwitchFile, created.errorString())};
    }
    return success();
}

} // namespace kavoret
