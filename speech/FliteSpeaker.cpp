#include "FliteSpeaker.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QMutex>

extern "C" {
#include <flite/flite.h>
cst_voice* register_cmu_us_slt(const char* voxdir);
void unregister_cmu_us_slt(cst_voice* voice);
}

namespace {
// The audio output reports the end of a line once the sound server has played it, which can
// be two seconds after the recording's own length (a sound server without a low-latency
// request buffers that much). A line whose end is not reported by this long after its length
// counts as spoken, so that nobody waits for it for ever.
constexpr int EndMarginMs = 3000;

// The voice, registered once for the program: Flite keeps its voices in global tables.
cst_voice* fliteVoice() {
    static cst_voice* const voice = [] {
        flite_init();
        return register_cmu_us_slt(nullptr);
    }();
    return voice;
}
} // namespace

// Turns texts into recordings, one after the other, in the worker thread.
class FliteSynthesizer : public QObject {
    Q_OBJECT
public:
    void synthesize(quint64 utterance, const QString& text) {
        QByteArray samples;
        int sampleRate = 0;
        // The voice is shared by every speaker and Flite is not safe to use from two threads.
        static QMutex voiceInUse;
        const QMutexLocker lock(&voiceInUse);
        if (cst_wave* wave = flite_text_to_wave(text.toUtf8().constData(), fliteVoice())) {
            if (wave->num_channels == 1 && wave->num_samples > 0) {
                samples = QByteArray(reinterpret_cast<const char*>(wave->samples),
                                     qsizetype(wave->num_samples) * qsizetype(sizeof(short)));
                sampleRate = wave->sample_rate;
            }
            delete_wave(wave);
        }
        emit synthesized(utterance, samples, sampleRate);
    }

signals:
    void synthesized(quint64 utterance, const QByteArray& samples, int sampleRate);
};

FliteSpeaker::FliteSpeaker(QObject* parent) : Speaker(parent) {
    if (!fliteVoice()) {
        reason = QStringLiteral("The speech engine could not be started: no Flite voice");
        return;
    }
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        reason = noOutputReason();
        return;
    }
    synthesizer = new FliteSynthesizer;
    synthesizer->moveToThread(&worker);
    connect(&worker, &QThread::finished, synthesizer, &QObject::deleteLater);
    connect(this, &FliteSpeaker::synthesizeRequested, synthesizer, &FliteSynthesizer::synthesize);
    connect(synthesizer, &FliteSynthesizer::synthesized, this, &FliteSpeaker::recordingReady);
    worker.setObjectName(QStringLiteral("Flite"));
    worker.start();
    endOfRecording.setSingleShot(true);
    connect(&endOfRecording, &QTimer::timeout, this,
            [this] { endUtterance(QStringLiteral("The sound output did not report the end")); });
}

FliteSpeaker::~FliteSpeaker() {
    releaseSink();
    worker.quit();
    worker.wait();
}

QString FliteSpeaker::readable(const QString& text) {
    QString out = text;
    out.replace(QChar(0x2014), QStringLiteral(", ")); // em dash
    out.replace(QChar(0x2013), QStringLiteral(", ")); // en dash
    out.replace(QChar(0x2018), QLatin1Char('\''));
    out.replace(QChar(0x2019), QLatin1Char('\''));
    out.replace(QChar(0x201C), QLatin1Char('"'));
    out.replace(QChar(0x201D), QLatin1Char('"'));
    out.replace(QChar(0x2026), QStringLiteral("..."));
    return out.simplified();
}

void FliteSpeaker::say(const QString& text) {
    if (!available()) return;
    releaseSink();
    const QString spoken = readable(text);
    ++current;
    error.clear();
    speaking = !spoken.isEmpty();
    if (speaking) emit synthesizeRequested(current, spoken);
}

void FliteSpeaker::stop() {
    if (!available()) return;
    releaseSink();
    // A recording still being made is dropped when it arrives.
    ++current;
    speaking = false;
}

void FliteSpeaker::recordingReady(quint64 utterance, const QByteArray& samples, int sampleRate) {
    if (utterance != current || !speaking) return;
    if (samples.isEmpty() || sampleRate <= 0) {
        endUtterance(QStringLiteral("The speech engine could not speak the line"));
        return;
    }
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    recording = std::make_unique<QBuffer>();
    recording->setData(samples);
    recording->open(QIODevice::ReadOnly);
    sink = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format);
    QAudioSink* playing = sink.get();
    connect(playing, &QAudioSink::stateChanged, this,
            [this, playing] { sinkStateChanged(playing); });
    sink->start(recording.get());
    if (sink->state() == QAudio::StoppedState && sink->error() != QAudio::NoError) {
        releaseSink();
        endUtterance(noOutputReason());
        return;
    }
    const qint64 lengthMs = qint64(samples.size()) / qint64(sizeof(short)) * 1000 / sampleRate;
    endOfRecording.start(int(lengthMs) + EndMarginMs);
}

void FliteSpeaker::sinkStateChanged(QAudioSink* which) {
    if (which != sink.get() || !speaking) return;
    QString failure;
    switch (sink->state()) {
    case QAudio::IdleState:
        // Idle with the whole recording read: the line has been played to its end.
        if (!recording || !recording->atEnd()) return;
        break;
    case QAudio::StoppedState:
        if (sink->error() == QAudio::NoError) return;
        failure = QStringLiteral("The sound output failed while speaking");
        break;
    default:
        return;
    }
    // The output is closed and the end reported once the sink's own signal has returned: a
    // listener may start the next line at once, which lets go of this sink.
    const quint64 utterance = current;
    QMetaObject::invokeMethod(
        this,
        [this, utterance, failure] {
            if (utterance != current || !speaking) return;
            releaseSink();
            endUtterance(failure);
        },
        Qt::QueuedConnection);
}

void FliteSpeaker::endUtterance(const QString& failure) {
    if (!speaking) return;
    error = failure;
    speaking = false;
    ++current;
    endOfRecording.stop();
    // Given up by the deadline, the output plays on what is left; the next line releases it.
    emit finished();
}

void FliteSpeaker::releaseSink() {
    endOfRecording.stop();
    if (!sink) return;
    sink->disconnect(this);
    sink->stop();
    sink.reset();
    recording.reset();
}

#include "FliteSpeaker.moc"
