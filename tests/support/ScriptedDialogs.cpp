#include "ScriptedDialogs.h"

MsgButton ScriptedDialogs::message(QWidget*, MsgKind kind, const QString& text,
                                   const QList<MsgButton>& buttons, int helpContext) {
    m_shown.push_back({kind, text, buttons, helpContext});
    if (onMessage) onMessage(text);
    if (buttons.size() <= 1) return buttons.isEmpty() ? MsgButton::Ok : buttons.first();
    if (!m_answers.empty()) {
        const MsgButton b = m_answers.front();
        m_answers.pop_front();
        return b;
    }
    return buttons.contains(MsgButton::No) ? MsgButton::No : buttons.last();
}

QString ScriptedDialogs::openFile(QWidget*, const FileDialogSpec& spec) {
    m_fileSpecs.push_back(spec);
    if (m_files.empty()) return {};
    QString path = m_files.front();
    m_files.pop_front();
    return path;
}

QString ScriptedDialogs::saveFile(QWidget* parent, const FileDialogSpec& spec) {
    return openFile(parent, spec);
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const Shown& s : m_shown)
        out << s.text;
    return out;
}
