#include "SystemSpeaker.h"

#include "FliteSpeaker.h"
#include "QtSpeaker.h"

#include <QTextToSpeech>

std::unique_ptr<Speaker> makeSystemSpeaker() {
    const QString flite = QStringLiteral("flite");
    QStringList engines = QTextToSpeech::availableEngines();
    // Flite is built in, with an audio output of our own: Qt's Flite engine loses whole lines
    // in its output (an empty last piece of a recording counts there as a failed write).
    if (!engines.contains(flite)) engines << flite;
    std::unique_ptr<Speaker> first;
    for (const QString& engine :
         QtSpeaker::enginePreference(engines, QtSpeaker::dispatcherRunning())) {
        std::unique_ptr<Speaker> candidate;
        if (engine == flite)
            candidate = std::make_unique<FliteSpeaker>();
        else
            candidate = std::make_unique<QtSpeaker>(engine, nullptr);
        if (candidate->available()) return candidate;
        // The first engine's trouble is the one worth telling.
        if (!first) first = std::move(candidate);
    }
    return first;
}
