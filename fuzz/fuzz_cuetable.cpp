// Any bytes as a sound cue table file: every cue keeps its name, has at most
// twenty file names, and a count that is empty or the number of names its
// group held before its "*".
#include "ItemInput.h"
#include "sound/CueTable.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavoret;
    const std::optional<QList<Item>> items = itemsOf(data, size);
    if (!items)
        return 0;

    static const auto sound = std::make_unique<SoundState>();
    sound::applyCueItems(*sound, *items);
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
