#include "FiguresExport.h"

#include "FiguresCsv.h"
#include "OutputPath.h"
#include "QstText.h"
#include "QstTool.h"
#include "SaveFile.h"
#include "ScoreStore.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>

#include <memory>

#include <unistd.h>

namespace {

// Qt SQL loads its driver through an application object; the game's name gives the game's
// data folder.
std::unique_ptr<QCoreApplication> applicationForSql() {
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "trivora-qst";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Trivora"));
    return app;
}

} // namespace

int exportFigures(const FiguresOptions& options, std::ostream& out, std::ostream& err) {
    {
        int fd = -1;
        std::int64_t size = 0;
        std::string error;
        bool notRegular = false;
        if (!QstText::openRegularFile(options.set, fd, size, error, notRegular)) {
            if (notRegular) return usageError(err, error);
            err << "trivora-qst: " << error << "\n";
            return 1;
        }
        ::close(fd);
    }
    if (!options.output.empty() && options.output == options.set)
        return usageError(err, "the output must not be the question set itself");
    if (!options.output.empty())
        if (const std::string why =
                textOutputRefusal(options.output, {options.set, options.database});
            !why.empty())
            return usageError(err, why);

    const std::unique_ptr<QCoreApplication> app = applicationForSql();
    const QString database = options.database.empty() ? ScoreStore::defaultPath()
                                                      : QString::fromStdString(options.database);
    // Nothing is made where nothing was kept: no figures yet are figures of questions never
    // asked.
    // A venue's server is only read: its tables are the game's to make.
    const bool server = ScoreStore::isServerAddress(database);
    bool kept = server || (!database.isEmpty() && QFileInfo::exists(database));
    if (!server && !kept)
        if (const std::string why = brokenLinkRefusal(database.toStdString()); !why.empty()) {
            err << "trivora-qst: " << why << "\n";
            return 1;
        }
    // A report changes nothing it reads: what is not a scores database is refused before it
    // is opened, so that nothing there is moved aside, made or converted.
    if (kept && !server) {
        int fd = -1;
        std::int64_t size = 0;
        std::string error;
        bool notRegular = false;
        if (!QstText::openRegularFile(database.toStdString(), fd, size, error, notRegular)) {
            if (notRegular) return usageError(err, error + " (the scores database)");
            err << "trivora-qst: " << error << "\n";
            return 1;
        }
        ::close(fd);
        if (size == 0) {
            kept = false; // an empty file holds no figures yet
        } else if (!isSqliteFile(database.toStdString())) {
            err << "trivora-qst: " << database.toStdString()
                << ": not a scores database (no SQLite file); it is left as it is\n";
            return 1;
        }
    }
    QByteArray csv;
    {
        // What is kept is only read; figures of questions never asked come from an empty
        // store in memory.
        ScoreStore store(kept ? database : QStringLiteral(":memory:"), QString(), nullptr,
                         kept ? ScoreStore::Recovery::ReadOnly
                              : ScoreStore::Recovery::MoveAside);
        const QStringList messages = store.takeMessages();
        if (!messages.isEmpty()) {
            for (const QString& message : messages)
                err << "trivora-qst: " << message.toStdString() << "\n";
            return 1;
        }
        QBuffer buffer(&csv);
        buffer.open(QIODevice::WriteOnly);
        QString error;
        if (!writeFiguresCsv(store, QString::fromStdString(options.set), buffer, &error)) {
            err << "trivora-qst: " << error.toStdString() << "\n";
            return 1;
        }
    }
    const std::string_view text(csv.constData(), static_cast<std::size_t>(csv.size()));
    if (options.output.empty()) {
        out << text;
        return 0;
    }
    SaveFile file;
    if (!file.open(options.output)) {
        err << "trivora-qst: " << file.errorText() << "\n";
        return 1;
    }
    file.write(text);
    if (!file.commit()) {
        err << "trivora-qst: " << file.errorText() << "\n";
        return 1;
    }
    return 0;
}
