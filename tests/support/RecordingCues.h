#pragma once

#include "frame/Cues.h"

#include <QStringList>

namespace kavoret::test {

// Records cues as "cue:3" and fixed sounds as "fixed:合格".
class RecordingCues final : public Cues {
public:
    void play(int cue) override { played.append(QStringLiteral("cue:%1").arg(cue)); }
    void playFixed(const QString& name) override { played.append(QStringLiteral("fixed:") + name); }
    QStringList played;
};

} // namespace kavoret::test
