#include "platform/AlsaSoundOutput.h"

#include <QFile>
#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace kavoret {
namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
};

constexpr unsigned kLatencyUs = 100000;
constexpr sf_count_t kFramesPerChunk = 2048;

QString alsaText(int alsaError) {
    return QString::fromLocal8Bit(snd_strerror(alsaError));
}
QString sndfileText(int sndfileError) {
    return QString::fromLocal8Bit(sf_error_number(sndfileError));
}

} // namespace

AlsaSoundOutput::AlsaSoundOutput(QString device) : device_(std::move(device)) {}

int AlsaSoundOutput::failAlsa(int alsaError, const QString& what) {
    lastCode_ = alsaError < 0 ? -alsaError : alsaError;
    if (lastCode_ == 0 || lastCode_ >= kSndfileErrorBase)
        lastCode_ = EIO;
    lastText_ = QStringLiteral("ALSA: %1 (%2)").arg(alsaText(alsaError), what);
    return lastCode_;
}

int AlsaSoundOutput::failSndfile(int sndfileError, const QString& what) {
    lastCode_ = kSndfileErrorBase + (sndfileError > 0 ? sndfileError : SF_ERR_SYSTEM);
    lastText_ = QStringLiteral("libsndfile: %1 (%2)").arg(sndfileText(sndfileError), what);
    return lastCode_;
}

int AlsaSoundOutput::play(const QString& path) {
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndfileCloser> file(
        sf_open(QFile::encodeName(path).constData(), SFM_READ, &info));
    if (!file) {
        const int error = sf_error(nullptr);
        lastCode_ = kSndfileErrorBase + (error > 0 ? error : SF_ERR_SYSTEM);
        lastText_ = QStringLiteral("libsndfile: %1 (%2)")
                        .arg(QString::fromLocal8Bit(sf_strerror(nullptr)), path);
        return lastCode_;
    }
    if (info.channels < 1 || info.samplerate < 1)
        return failSndfile(SF_ERR_UNRECOGNISED_FORMAT, path);

    snd_pcm_t* rawPcm = nullptr;
    const QByteArray device = device_.toLocal8Bit();
    if (int error = snd_pcm_open(&rawPcm, device.constData(), SND_PCM_STREAM_PLAYBACK, 0);
        error < 0)
        return failAlsa(error, QStringLiteral("音声装置「%1」").arg(device_));
    std::unique_ptr<snd_pcm_t, PcmCloser> pcm(rawPcm);
    if (int error = snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                                       static_cast<unsigned>(info.channels),
                                       static_cast<unsigned>(info.samplerate), 1, kLatencyUs);
        error < 0)
        return failAlsa(error, QStringLiteral("音声装置「%1」, %2").arg(device_, path));

    const auto started = std::chrono::steady_clock::now();
    std::vector<short> chunk(static_cast<std::size_t>(kFramesPerChunk * info.channels));
    sf_count_t framesPlayed = 0;
    for (;;) {
        const sf_count_t frames = sf_readf_short(file.get(), chunk.data(), kFramesPerChunk);
        if (frames <= 0)
            break;
        const short* at = chunk.data();
        snd_pcm_uframes_t left = static_cast<snd_pcm_uframes_t>(frames);
        while (left > 0) {
            snd_pcm_sframes_t written = snd_pcm_writei(pcm.get(), at, left);
            if (written < 0) {
                // An underrun between chunks is recovered; anything else ends the play.
                if (int error = snd_pcm_recover(pcm.get(), static_cast<int>(written), 1); error < 0)
                    return failAlsa(error, QStringLiteral("音声装置「%1」, %2").arg(device_, path));
                continue;
            }
            at += written * info.channels;
            left -= static_cast<snd_pcm_uframes_t>(written);
        }
        framesPlayed += frames;
    }
    if (int error = sf_error(file.get()); error != SF_ERR_NO_ERROR)
        return failSndfile(error, path);
    if (int error = snd_pcm_drain(pcm.get()); error < 0)
        return failAlsa(error, QStringLiteral("音声装置「%1」, %2").arg(device_, path));

    // The sound has played once its length has passed since the first frame
    // went out, whatever the device says (a null device takes frames at once).
    const auto length = std::chrono::microseconds(framesPlayed * 1000000 / info.samplerate);
    std::this_thread::sleep_until(started + length);
    return 0;
}

QString AlsaSoundOutput::errorText(int code) const {
    if (code == lastCode_ && !lastText_.isEmpty())
        return lastText_;
    if (code >= kSndfileErrorBase)
        return QStringLiteral("libsndfile: ") + sndfileText(code - kSndfileErrorBase);
    return QStringLiteral("ALSA: ") + alsaText(-code);
}

} // namespace kavoret
