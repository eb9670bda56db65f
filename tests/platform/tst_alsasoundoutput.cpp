#include "platform/AlsaSoundOutput.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <sndfile.h>
#include <vector>

using namespace kavoret;

namespace {

// A short tone written with libsndfile.
bool writeTone(const QString& path, double seconds, int rate, int channels) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return false;
    const auto frames = static_cast<std::size_t>(seconds * rate);
    std::vector<short> samples(frames * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<short>(8000 * std::sin(2 * M_PI * 440.0 * (i / channels) / rate));
    const sf_count_t written =
        sf_writef_short(file, samples.data(), static_cast<sf_count_t>(frames));
    sf_close(file);
    return written == static_cast<sf_count_t>(frames);
}

} // namespace

class tst_AlsaSoundOutput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void blocksForTheSoundsLength_data();
    void blocksForTheSoundsLength();
    void missingFile();
    void notASoundFile();
    void missingDevice();
    void defaultDevice();

private:
    QTemporaryDir dir_;
    QString tone_;
};

void tst_AlsaSoundOutput::initTestCase() {
    QVERIFY(dir_.isValid());
    tone_ = dir_.path() + QStringLiteral("/ピンポン.wav");
    QVERIFY(writeTone(tone_, 0.4, 44100, 1));
}

void tst_AlsaSoundOutput::blocksForTheSoundsLength_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::newRow("44100 Hz mono") << 44100 << 1;
    QTest::newRow("22050 Hz stereo") << 22050 << 2;
}

// ALSA's "null" device takes every frame at once; the play still lasts as long
// as the sound.
void tst_AlsaSoundOutput::blocksForTheSoundsLength() {
    QFETCH(int, rate);
    QFETCH(int, channels);
    const QString path = dir_.path() + QStringLiteral("/tone-%1-%2.wav").arg(rate).arg(channels);
    QVERIFY(writeTone(path, 0.3, rate, channels));
    AlsaSoundOutput output(QStringLiteral("null"));
    QElapsedTimer timer;
    timer.start();
    const int result = output.play(path);
    QVERIFY2(result == 0, qPrintable(output.errorText(result)));
    QVERIFY2(timer.elapsed() >= 300, qPrintable(QString::number(timer.elapsed())));
}

void tst_AlsaSoundOutput::missingFile() {
    AlsaSoundOutput output(QStringLiteral("null"));
    const QString path = dir_.path() + QStringLiteral("/ない音.wav");
    const int result = output.play(path);
    QVERIFY(result >= AlsaSoundOutput::kSndfileErrorBase);
    QVERIFY2(output.errorText(result).startsWith(QStringLiteral("libsndfile: ")),
             qPrintable(output.errorText(result)));
    QVERIFY(output.errorText(result).contains(path));
}

void tst_AlsaSoundOutput::notASoundFile() {
    const QString path = dir_.path() + QStringLiteral("/text.wav");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is no sound\r\n");
    file.close();
    AlsaSoundOutput output(QStringLiteral("null"));
    const int result = output.play(path);
    QVERIFY(result >= AlsaSoundOutput::kSndfileErrorBase);
    QVERIFY(output.errorText(result).contains(path));
}

void tst_AlsaSoundOutput::missingDevice() {
    AlsaSoundOutput output(QStringLiteral("hw:CARD=KavoretNoSuchCard"));
    const int result = output.play(tone_);
    QVERIFY(result > 0 && result < AlsaSoundOutput::kSndfileErrorBase);
    const QString text = output.errorText(result);
    QVERIFY2(text.startsWith(QStringLiteral("ALSA: ")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("KavoretNoSuchCard")), qPrintable(text));
    // The text of a code stays available after other plays.
    AlsaSoundOutput fresh;
    QVERIFY(fresh.errorText(result).startsWith(QStringLiteral("ALSA: ")));
}

// Run by ctest with HOME holding an .asoundrc that makes the default device
// the null device: the program's own default then plays, blocking.
void tst_AlsaSoundOutput::defaultDevice() {
    if (qEnvironmentVariable("KAVORET_DEFAULT_SOUND") != QLatin1String("null"))
        QSKIP("the default device is whatever this machine has");
    AlsaSoundOutput output;
    QElapsedTimer timer;
    timer.start();
    const int result = output.play(tone_);
    QVERIFY2(result == 0, qPrintable(output.errorText(result)));
    QVERIFY(timer.elapsed() >= 400);
}

QTEST_GUILESS_MAIN(tst_AlsaSoundOutput)
#include "tst_alsasoundoutput.moc"
