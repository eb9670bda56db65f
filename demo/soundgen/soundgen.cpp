// Makes the demo family's sounds: short synthesised tones, one .wav file for
// each name the demo cue table lists, and the two fixed sounds.
//
//   kavoret_soundgen <sound folder>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Equal-tempered pitch of a MIDI note number (69 = A4 = 440 Hz).
double pitch(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

enum class Timbre {
    Bell,  // bright, quickly fading partials: chimes
    Brass, // rich harmonics with a held body: fanfares
    Buzz,  // dense low harmonics, slightly detuned: the wrong key
    Soft,  // nearly pure: gentle cues
};

class Sound {
public:
    explicit Sound(double seconds) : samples_(static_cast<std::size_t>(seconds * kRate), 0.0) {}

    // Adds a note from start for length seconds.
    void note(double start, double length, double frequency, Timbre timbre, double level = 1.0) {
        const auto first = static_cast<std::size_t>(start * kRate);
        const auto count = static_cast<std::size_t>(length * kRate);
        for (std::size_t i = 0; i < count && first + i < samples_.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            samples_[first + i] += level * envelope(t, length, timbre) * wave(t, frequency, timbre);
        }
    }

    // Scales to a comfortable peak and writes 16-bit mono PCM.
    bool write(const std::string& path) const {
        double peak = 0;
        for (double s : samples_)
            peak = std::max(peak, std::abs(s));
        const double gain = peak > 0 ? 0.6 / peak : 0;
        std::vector<short> pcm(samples_.size());
        for (std::size_t i = 0; i < samples_.size(); ++i)
            pcm[i] = static_cast<short>(std::lround(samples_[i] * gain * 32767));

        SF_INFO info{};
        info.samplerate = kRate;
        info.channels = 1;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        if (!file) {
            std::fprintf(stderr, "kavoret_soundgen: %s: %s\n", path.c_str(), sf_strerror(nullptr));
            return false;
        }
        const auto frames = static_cast<sf_count_t>(pcm.size());
        const bool written = sf_writef_short(file, pcm.data(), frames) == frames;
        sf_close(file);
        if (!written)
            std::fprintf(stderr, "kavoret_soundgen: cannot write %s\n", path.c_str());
        return written;
    }

private:
    static double envelope(double t, double length, Timbre timbre) {
        const double attack = timbre == Timbre::Buzz ? 0.01 : 0.004;
        const double release = std::min(0.05, length / 4);
        double level = std::min(1.0, t / attack);
        if (t > length - release)
            level *= std::max(0.0, (length - t) / release);
        switch (timbre) {
        case Timbre::Bell:
            return level * std::exp(-t / 0.18);
        case Timbre::Brass:
            return level * (0.75 + 0.25 * std::exp(-t / 0.06));
        case Timbre::Buzz:
            return level * std::exp(-t / 0.5);
        case Timbre::Soft:
            return level * std::exp(-t / 0.4);
        }
        return level;
    }

    static double wave(double t, double f, Timbre timbre) {
        const double w = 2 * kPi * f * t;
        switch (timbre) {
        case Timbre::Bell:
            return std::sin(w) + 0.45 * std::sin(2 * w) * std::exp(-t / 0.08) +
                   0.25 * std::sin(3.01 * w) * std::exp(-t / 0.05);
        case Timbre::Brass: {
            double sum = 0;
            for (int n = 1; n <= 6; ++n)
                sum += std::sin(n * w) / std::pow(n, 1.5);
            return sum;
        }
        case Timbre::Buzz: {
            // Odd harmonics of two slightly detuned tones: a soft square buzz.
            double sum = 0;
            for (int n = 1; n <= 13; n += 2)
                sum += (std::sin(n * w) + std::sin(n * w * 1.012)) / n;
            return sum;
        }
        case Timbre::Soft:
            return std::sin(w) + 0.15 * std::sin(2 * w);
        }
        return 0;
    }

    std::vector<double> samples_;
};

struct Recipe {
    const char* name;
    std::function<Sound()> make;
};

// Notes (MIDI numbers): C5 = 72, E5 = 76, G5 = 79, C6 = 84, E6 = 88, G6 = 91, B6 = 95, C7 = 96.
Sound chime(int low, int high) {
    Sound s(0.45);
    s.note(0.0, 0.45, pitch(low), Timbre::Bell);
    s.note(0.08, 0.37, pitch(high), Timbre::Bell);
    return s;
}

Sound buzz(double seconds, double frequency, int times) {
    Sound s(seconds * times + 0.05 * (times - 1));
    for (int i = 0; i < times; ++i)
        s.note(i * (seconds + 0.05), seconds, frequency, Timbre::Buzz);
    return s;
}

Sound fanfare(const std::vector<int>& notes, double step, double hold) {
    Sound s(step * static_cast<double>(notes.size() - 1) + hold);
    for (std::size_t i = 0; i + 1 < notes.size(); ++i)
        s.note(step * static_cast<double>(i), step * 0.9, pitch(notes[i]), Timbre::Brass);
    s.note(step * static_cast<double>(notes.size() - 1), hold, pitch(notes.back()), Timbre::Brass);
    return s;
}

const std::vector<Recipe>& recipes() {
    static const std::vector<Recipe> all{
        // A bright chime for a right answer.
        {"seikai1", [] { return chime(88, 95); }},
        {"seikai2a", [] { return chime(88, 95); }},
        {"seikai2b", [] { return chime(91, 96); }},
        // A low buzz for a wrong one.
        {"machigai1", [] { return buzz(0.3, 110, 1); }},
        {"machigai2", [] { return buzz(0.14, 98, 2); }},
        // Fanfares for records.
        {"saikou1",
         [] {
             return fanfare({72, 76, 79, 84, 88}, 0.11, 0.5);
         }},
        {"saikou2",
         [] {
             return fanfare({74, 78, 81, 86, 90}, 0.11, 0.5);
         }},
        {"jikosaikou1",
         [] {
             return fanfare({72, 76, 79, 84}, 0.12, 0.45);
         }},
        {"jikosaikou2",
         [] {
             return fanfare({67, 72, 76, 79, 84}, 0.1, 0.5);
         }},
        {"jikosaikou3",
         [] {
             return fanfare({76, 79, 84, 88}, 0.12, 0.45);
         }},
        // The minimum line reached: a gentle falling pair.
        {"fugoukaku1",
         [] {
             Sound s(0.65);
             s.note(0.0, 0.3, pitch(79), Timbre::Soft);
             s.note(0.28, 0.37, pitch(76), Timbre::Soft);
             return s;
         }},
        // The fixed sounds: the best of all, and a pass.
        {"最高1",
         [] {
             Sound s = fanfare({72, 76, 79, 84, 79, 84}, 0.12, 0.7);
             s.note(0.6, 0.7, pitch(88), Timbre::Brass, 0.6);
             s.note(0.6, 0.7, pitch(91), Timbre::Brass, 0.5);
             return s;
         }},
        {"合格",
         [] {
             Sound s(0.8);
             s.note(0.0, 0.15, pitch(72), Timbre::Bell);
             s.note(0.12, 0.15, pitch(76), Timbre::Bell);
             s.note(0.24, 0.56, pitch(79), Timbre::Bell);
             s.note(0.24, 0.56, pitch(84), Timbre::Bell, 0.7);
             return s;
         }},
    };
    return all;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kavoret_soundgen <sound folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const Recipe& recipe : recipes()) {
        if (!recipe.make().write(folder + "/" + recipe.name + ".wav"))
            return 1;
    }
    return 0;
}
