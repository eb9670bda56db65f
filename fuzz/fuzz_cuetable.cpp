// Any bytes as a sound cue table file: every cue keeps its name, has at most
// twenty file names, and a count that is empty or the number of names its
// group held before its "*".
#include "frame/Cp932.h"
#include "frame/ItemFile.h"
#include "sound/CueTable.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavoret;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    cp932::DecodeError error;
    const QString text = cp932::decode(bytes, &error);
    if (error.offset >= 0)
        return 0;
    const QList<Item> items = parseItems(text);

    static const auto sound = std::make_unique<SoundState>();
    sound::applyCueItems(*sound, items);
    for (int c = 1; c <= kCueCount; ++c) {
        const CueEntry& cue = sound->cues[c];
        if (cue.name != sound::cueName(c) || !cue.files[0].isEmpty())
            std::abort();
        if (cue.count.isEmpty())
            continue;
        bool number = false;
        const int count = cue.count.toInt(&number);
        if (!number || count < 0 || count >= kCueRows)
            std::abort();
    }
    return 0;
}
