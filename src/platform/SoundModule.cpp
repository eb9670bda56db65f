// The entry point of the sound module. The program loads this library with its
// first sound, so libsndfile, its codecs and ALSA stay out of the start-up.
#include "platform/AlsaSoundOutput.h"

extern "C" Q_DECL_EXPORT kavoret::SoundOutput* kavoret_make_sound_output() {
    return new kavoret::AlsaSoundOutput;
}
