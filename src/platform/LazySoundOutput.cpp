#include "platform/LazySoundOutput.h"

namespace kavoret {

LazySoundOutput::LazySoundOutput(QString modulePath)
    : real_(std::move(modulePath), "kavoret_make_sound_output") {}

int LazySoundOutput::play(const QString& path) {
    if (SoundOutput* real = real_.get())
        return real->play(path);
    return kModuleMissing;
}

QString LazySoundOutput::errorText(int code) const {
    if (const SoundOutput* real = real_.loaded())
        return real->errorText(code);
    return QStringLiteral("音声モジュールを読み込めません（%1）").arg(real_.loadError());
}

} // namespace kavoret
