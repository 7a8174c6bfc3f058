#pragma once

#include "Speaker.h"

#include <QByteArray>
#include <QThread>
#include <QTimer>

#include <memory>

class QAudioSink;
class QBuffer;
class FliteSynthesizer;

// Speech through the Flite synthesizer with an audio output of our own: a worker thread turns
// each text into a whole recording, and the recording is played from memory through a Qt audio
// sink that pulls it. Playing from memory keeps every line whole, however long or short; the
// line ends when the audio output has played the whole recording.
class FliteSpeaker final : public Speaker {
    Q_OBJECT
public:
    explicit FliteSpeaker(QObject* parent = nullptr);
    ~FliteSpeaker() override;

    void say(const QString& text) override;
    void stop() override;
    bool isSpeaking() const override { return speaking; }
    bool available() const override { return reason.isEmpty(); }
    QString unavailableReason() const override { return reason; }

    QString lastError() const override { return error; }

    // The text as the synthesizer reads it: typographic dashes and quotes become their plain
    // forms, so that nothing is spelt out or dropped.
    static QString readable(const QString& text);

signals:
    // Asks the worker thread for the recording of a text (internal).
    void synthesizeRequested(quint64 utterance, const QString& text);

private:
    void recordingReady(quint64 utterance, const QByteArray& samples, int sampleRate);
    void sinkStateChanged(QAudioSink* sink);
    void endUtterance(const QString& failure);
    void releaseSink();

    QString reason;
    QString error;
    bool speaking = false;
    // Numbers the utterances; a recording of one that was cut off is dropped.
    quint64 current = 0;
    QThread worker;
    FliteSynthesizer* synthesizer = nullptr; // lives in the worker thread
    std::unique_ptr<QAudioSink> sink;
    std::unique_ptr<QBuffer> recording;

    // Gives up waiting for the audio output to report the end of the line.
    QTimer endOfRecording;
};
