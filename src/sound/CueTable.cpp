#include "sound/CueTable.h"

#include "frame/ItemFile.h"

namespace kavoret::sound {

QString cueName(int cue) {
    static const QString names[kCueCount + 1] = {
        QString(),
        QStringLiteral("正解音1"),
        QStringLiteral("正解音2"),
        QStringLiteral("間違い音1"),
        QStringLiteral("間違い音2"),
        QStringLiteral("最高音1"),
        QStringLiteral("最高音2"),
        QStringLiteral("自己最高音1"),
        QStringLiteral("自己最高音2"),
        QStringLiteral("自己最高音3"),
        QStringLiteral("不合格音1"),
    };
    return cue >= 1 && cue <= kCueCount ? names[cue] : QString();
}

void applyCueItems(SoundState& sound, const QList<Item>& items) {
    for (int c = 1; c <= kCueCount; ++c) {
        sound.cues[c] = CueEntry{};
        sound.cues[c].name = cueName(c);
    }
    qsizetype next = 0;
    while (next < items.size()) {
        // The current item is the one last read: after a group it is that
        // group's "*" (or its twentieth name), which the later cues see too.
        QString current = items[next++].text;
        for (int c = 1; c <= kCueCount; ++c) {
            CueEntry& cue = sound.cues[c];
            if (cue.name != current)
                continue;
            for (int row = 1; row <= kCueRows && next < items.size(); ++row) {
                current = items[next++].text;
                if (current == kGroupEnd) {
                    cue.count = QString::number(row - 1);
                    break;
                }
                cue.files[row] = current;
            }
        }
    }
}

Status loadCueTable(SharedState& state) {
    const QString path = state.folders.soundFolder + kCueTableFileName;
    Result<QList<Item>> items = readItemFile(path);
    if (!items)
        return items.error();
    applyCueItems(state.sound, items.value());
    return success();
}

} // namespace kavoret::sound
