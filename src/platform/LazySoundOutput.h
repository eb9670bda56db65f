#pragma once

#include "platform/PlatformModule.h"
#include "platform/SoundOutput.h"

namespace kavoret {

// Plays sounds through the sound module (libsndfile with its codecs, and
// ALSA), loaded with the first sound. When the module cannot be loaded, every
// play fails with kModuleMissing, whose text says why.
class LazySoundOutput final : public SoundOutput {
public:
    // ELIBACC: a needed shared library cannot be accessed.
    static constexpr int kModuleMissing = 79;

    explicit LazySoundOutput(QString modulePath);

    int play(const QString& path) override;
    QString errorText(int code) const override;

private:
    ModuleObject<SoundOutput> real_;
};

} // namespace kavoret
