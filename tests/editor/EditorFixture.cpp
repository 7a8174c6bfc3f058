#include "EditorFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLineEdit>

#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

EditorFolderFixture::EditorFolderFixture() : oldDir(QDir::currentPath()) {
    QDir::setCurrent(dir.path());
}

EditorFolderFixture::~EditorFolderFixture() {
    QDir::setCurrent(oldDir);
}

std::string EditorFolderFixture::setBytes(const std::vector<QuestionRecord>& questions) {
    return QstFixtures::setBytes(questions);
}

void EditorModelFixture::open() {
    model = std::make_unique<QuestionEditorModel>(dialogs, state, fileName);
    model->setScoreStore(scores);
    model->openStartingSet();
}

void EditorModelFixture::type(const QStringList& texts) {
    for (int i = 0; i < texts.size() && i < QuestionEditorModel::fieldCount; ++i)
        model->setField(i, texts[i]);
}

QStringList EditorModelFixture::fieldTexts() const {
    QStringList out;
    for (const QString& text : model->fields())
        out << text;
    return out;
}

EditorWindowFixture::~EditorWindowFixture() {
    delete editor.data();
}

void EditorWindowFixture::open() {
    editor = new QuestionEditor(QuestionEditorServices{dialogs, shell, settings, scores},
                                state, fileName);
}

void EditorWindowFixture::type(const QStringList& texts) {
    const auto edits = editor->fieldEdits();
    for (int i = 0; i < texts.size() && i < QuestionEditorModel::fieldCount; ++i)
        edits[static_cast<std::size_t>(i)]->setText(texts[i]);
}

QStringList EditorWindowFixture::fieldTexts() const {
    QStringList out;
    for (const QLineEdit* edit : editor->fieldEdits())
        out << edit->text();
    return out;
}

void EditorWindowFixture::closeEditor() {
    editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList textsOf(int n) {
    const QString k = QString::number(n);
    return {QStringLiteral("Question ") + k, QStringLiteral("Right ") + k,
            QStringLiteral("Wrong ") + k + QStringLiteral(".1"),
            QStringLiteral("Wrong ") + k + QStringLiteral(".2"),
            QStringLiteral("Wrong ") + k + QStringLiteral(".3")};
}

QuestionRecord recordOf(const QStringList& t) {
    return QstFixtures::question(t[0].toStdString(), t[1].toStdString(), t[2].toStdString(),
                                 t[3].toStdString(), t[4].toStdString());
}

std::vector<QuestionRecord> numberedRecords(int n) {
    std::vector<QuestionRecord> out;
    for (int i = 1; i <= n; ++i)
        out.push_back(QstFixtures::numbered(i));
    return out;
}

OpenCounter::OpenCounter(const std::string& path)
    : fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)),
      fileWatch(::inotify_add_watch(fd, path.c_str(), IN_OPEN)) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    if (fileWatch < 0 || ::inotify_add_watch(fd, folder.c_str(), IN_OPEN) < 0)
        ADD_FAILURE() << "cannot watch " << path;
}

OpenCounter::~OpenCounter() {
    ::close(fd);
}

int OpenCounter::opens() {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->wd == fileWatch && (event->mask & IN_OPEN)) ++count;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    return count;
}

bool runAsOrdinaryUser(const std::function<int()>& check) {
    if (::geteuid() != 0) return check() == 0;
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(90);
        ::_exit(check());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
