#include "QtDialogs.h"

#include "Shell.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {
QMessageBox::StandardButton toQt(MsgButton b) {
    switch (b) {
    case MsgButton::Ok:
        return QMessageBox::Ok;
    case MsgButton::Yes:
        return QMessageBox::Yes;
    case MsgButton::No:
        return QMessageBox::No;
    case MsgButton::Help:
        return QMessageBox::Help;
    case MsgButton::Cancel:
        return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MsgButton fromQt(int b) {
    switch (b) {
    case QMessageBox::Yes:
        return MsgButton::Yes;
    case QMessageBox::No:
        return MsgButton::No;
    case QMessageBox::Help:
        return MsgButton::Help;
    case QMessageBox::Cancel:
        return MsgButton::Cancel;
    default:
        return MsgButton::Ok;
    }
}

QMessageBox::Icon iconOf(MsgKind kind) {
    switch (kind) {
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    case MsgKind::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

void rememberFolder(const QString& path) {
    if (!path.isEmpty()) QDir::setCurrent(QFileInfo(path).absolutePath());
}
} // namespace

QString QtDialogs::qtFilter(const QString& filter) {
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

MsgButton QtDialogs::message(QWidget* parent, MsgKind kind, const QString& text,
                             const QList<MsgButton>& buttons, int helpContext) {
    for (;;) {
        QMessageBox box(iconOf(kind), QApplication::applicationName(), text, QMessageBox::NoButton,
                        parent);
        for (MsgButton b : buttons)
            box.addButton(toQt(b));
        box.setTextFormat(Qt::PlainText);
        // Modal to its window only, so that the help its Help button opens can be read.
        if (parent) box.setWindowModality(Qt::WindowModal);
        const MsgButton pressed = fromQt(box.exec());
        // Help shows its topic beside the box and leaves the question open.
        if (pressed == MsgButton::Help && m_shell && helpContext != 0) {
            m_shell->showHelp(helpContext);
            continue;
        }
        return pressed;
    }
}

QString QtDialogs::openFile(QWidget* parent, const FileDialogSpec& spec) {
    QFileDialog dialog(parent, spec.title,
                       spec.initialDir.isEmpty() ? QDir::currentPath() : spec.initialDir,
                       qtFilter(spec.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(spec.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    rememberFolder(path);
    return path;
}

QString QtDialogs::saveFile(QWidget* parent, const FileDialogSpec& spec) {
    QFileDialog dialog(parent, spec.title,
                       spec.initialDir.isEmpty() ? QDir::currentPath() : spec.initialDir,
                       qtFilter(spec.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(spec.defaultSuffix);
    // The caller reports an existing file itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString path = dialog.selectedFiles().constFirst();
    rememberFolder(path);
    return path;
}
