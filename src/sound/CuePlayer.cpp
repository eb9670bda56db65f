#include "sound/CuePlayer.h"

#include "frame/ScreenFlow.h"
#include "frame/SharedState.h"
#include "platform/Dialogs.h"
#include "platform/Random.h"
#include "platform/SoundOutput.h"
#include "sound/CueTable.h"

#include <algorithm>

namespace kavoret::sound {

bool isMonitored(int cue) {
    return cue == 2 || cue == 3 || cue == 4;
}

CuePlayer::CuePlayer(SharedState& state, SoundOutput& output, Random& random, Dialogs& dialogs,
                     ScreenFlow& flow)
    : state_(state), output_(output), random_(random), dialogs_(dialogs), flow_(flow) {}

QString CuePlayer::pathOf(const QString& file) const {
    return state_.folders.soundFolder + file + QStringLiteral(".wav");
}

void CuePlayer::play(int cue) {
    if (cue < 1 || cue > kCueCount) {
        fail(QStringLiteral("効果音 %1 番はありません").arg(cue), state_.profile.programTitle);
        return;
    }
    const CueEntry& entry = state_.sound.cues[cue];
    bool counted = false;
    const int n = entry.count.toInt(&counted);
    if (!counted || n < 0) {
        fail(QStringLiteral("ファイル「%1」に効果音「%2」がないか、その音ファイルの並びが「*"
                            "」で終わっていません")
                 .arg(state_.folders.soundFolder + kCueTableFileName, cueName(cue)),
             state_.profile.programTitle);
        return;
    }
    const int row = std::clamp(random_.draw(n), 1, kCueRows);
    const int result = output_.play(pathOf(entry.files[row]));
    if (!isMonitored(cue))
        return;
    int& failures = state_.sound.soundFailures;
    if (result == 0) {
        failures = 0;
        return;
    }
    if (failures < kToleratedFailures) {
        ++failures;
        return;
    }
    fail(kSoundErrorText + QStringLiteral("\r\n") + output_.errorText(result), kSoundErrorTitle);
}

void CuePlayer::playFixed(const QString& name) {
    output_.play(pathOf(name));
}

void CuePlayer::fail(const QString& text, const QString& title) {
    dialogs_.message(text, title, Dialogs::Icon::Error);
    flow_.endProgram(1);
}

} // namespace kavoret::sound
