#include "EditorFixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QLineEdit>

#include <sys/wait.h>
#include <unistd.h>

TEditorFixture::TEditorFixture() : FOldDir(QDir::currentPath()) {
    QDir::setCurrent(Dir.path());
}

TEditorFixture::~TEditorFixture() {
    delete Editor.data();
    QDir::setCurrent(FOldDir);
}

void TEditorFixture::Open() {
    Editor = new TSetQuestions(TEditorServices{Clock, Dialogs, Shell, Settings}, State, FileName);
    Tick();
}

void TEditorFixture::Type(const QStringList& texts) {
    const auto fields = Editor->Fields();
    for (int i = 0; i < texts.size() && i < 5; ++i)
        fields[static_cast<std::size_t>(i)]->setText(texts[i]);
}

QStringList TEditorFixture::FieldTexts() const {
    QStringList out;
    for (const QLineEdit* field : Editor->Fields())
        out << field->text();
    return out;
}

std::string TEditorFixture::SetBytes(const std::vector<TQuestionRecord>& questions) {
    std::string bytes;
    const auto append = [&bytes](const TQuestionRecord& r) {
        const auto b = r.Encode();
        bytes.append(reinterpret_cast<const char*>(b.data()), b.size());
    };
    append(TQuestionRecord::Header());
    for (const TQuestionRecord& q : questions)
        append(q);
    return bytes;
}

void TEditorFixture::CloseEditor() {
    Editor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool RunAsOrdinaryUser(const std::function<int()>& check) {
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
