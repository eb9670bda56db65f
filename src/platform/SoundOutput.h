#pragma once

#include <QString>

namespace kavoret {

// Plays a sound file to its end before returning.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // 0 when the sound has played; any other value is an error code.
    virtual int play(const QString& path) = 0;
    // The text of an error code returned by play().
    virtual QString errorText(int code) const = 0;
};

} // namespace kavoret
