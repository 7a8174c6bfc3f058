#include "QtDialogs.h"

#include "Shell.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {
QMessageBox::StandardButton ToQt(TMsgButton b) {
    switch (b) {
    case TMsgButton::Ok: return QMessageBox::Ok;
    case TMsgButton::Yes: return QMessageBox::Yes;
    case TMsgButton::No: return QMessageBox::No;
    case TMsgButton::Help: return QMessageBox::Help;
    case TMsgButton::Cancel: return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

TMsgButton FromQt(int b) {
    switch (b) {
    case QMessageBox::Yes: return TMsgButton::Yes;
    case QMessageBox::No: return TMsgButton::No;
    case QMessageBox::Help: return TMsgButton::Help;
    case QMessageBox::Cancel: return TMsgButton::Cancel;
    default: return TMsgButton::Ok;
    }
}

QMessageBox::Icon IconOf(TMsgKind kind) {
    switch (kind) {
    case TMsgKind::Warning: return QMessageBox::Warning;
    case TMsgKind::Information: return QMessageBox::Information;
    case TMsgKind::Confirmation: return QMessageBox::Question;
    case TMsgKind::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

void RememberFolder(const QString& path) {
    if (!path.isEmpty()) QDir::setCurrent(QFileInfo(path).absolutePath());
}
} // namespace

QString TQtDialogs::QtFilter(const QString& filter) {
    const int bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0) return filter;
    QStringList patterns;
    for (const QString& p : filter.mid(bar + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        patterns << p.trimmed();
        if (p.trimmed().toLower() != p.trimmed()) patterns << p.trimmed().toLower();
    }
    return filter.left(bar) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
           QLatin1Char(')');
}

TMsgButton TQtDialogs::Message(QWidget* parent, TMsgKind kind, const QString& text,
                               const QList<TMsgButton>& buttons, int helpContext) {
    for (;;) {
        QMessageBox box(IconOf(kind), QApplication::applicationName(), text,
                        QMessageBox::NoButton, parent);
        for (TMsgButton b : buttons) box.addButton(ToQt(b));
        box.setTextFormat(Qt::PlainText);
        // Modal to its window only, so that the help its Help button opens can be read.
        if (parent) box.setWindowModality(Qt::WindowModal);
        const TMsgButton pressed = FromQt(box.exec());
        // Help shows its topic beside the box and leaves the question open.
        if (pressed == TMsgButton::Help && FShell && helpContext != 0) {
            FShell->ShowHelp(helpContext);
            continue;
        }
        return pressed;
    }
}

QString TQtDialogs::OpenFile(QWidget* parent, const TFileDialogSpec& spec) {
    QFileDialog dialog(parent, spec.Title,
                       spec.InitialDir.isEmpty() ? QDir::currentPath() : spec.InitialDir,
                       QtFilter(spec.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(spec.DefaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    RememberFolder(path);
    return path;
}

QString TQtDialogs::SaveFile(QWidget* parent, const TFileDialogSpec& spec) {
    QFileDialog dialog(parent, spec.Title,
                       spec.InitialDir.isEmpty() ? QDir::currentPath() : spec.InitialDir,
                       QtFilter(spec.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(spec.DefaultSuffix);
    // The caller reports an existing file itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    RememberFolder(path);
    return path;
}
