#pragma once

#include "platform/SoundOutput.h"

namespace kavoret {

// Plays .wav files (any format libsndfile decodes) on an ALSA device and
// returns once the whole sound has played. Error codes: below 1000 an ALSA
// errno, from 1000 on 1000 + a libsndfile error number; the text of the last
// failure names the file or the device and what ALSA or libsndfile reported.
class AlsaSoundOutput final : public SoundOutput {
public:
    static constexpr int kSndfileErrorBase = 1000;

    explicit AlsaSoundOutput(QString device = QStringLiteral("default"));

    int play(const QString& path) override;
    QString errorText(int code) const override;

private:
    int failAlsa(int alsaError, const QString& what);
    int failSndfile(int sndfileError, const QString& what);

    QString device_;
    int lastCode_ = 0;
    QString lastText_;
};

} // namespace kavoret
