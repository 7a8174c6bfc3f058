#include "ScriptedDialogs.h"

TMsgButton TScriptedDialogs::Message(QWidget*, TMsgKind kind, const QString& text,
                                     const QList<TMsgButton>& buttons, int helpContext) {
    FShown.push_back({kind, text, buttons, helpContext});
    if (OnMessage) OnMessage(text);
    if (buttons.size() <= 1) return buttons.isEmpty() ? TMsgButton::Ok : buttons.first();
    if (!FAnswers.empty()) {
        const TMsgButton b = FAnswers.front();
        FAnswers.pop_front();
        return b;
    }
    return buttons.contains(TMsgButton::No) ? TMsgButton::No : buttons.last();
}

QString TScriptedDialogs::OpenFile(QWidget*, const TFileDialogSpec& spec) {
    FFileSpecs.push_back(spec);
    if (FFiles.empty()) return {};
    QString path = FFiles.front();
    FFiles.pop_front();
    return path;
}

QString TScriptedDialogs::SaveFile(QWidget* parent, const TFileDialogSpec& spec) {
    return OpenFile(parent, spec);
}

QStringList TScriptedDialogs::Texts() const {
    QStringList out;
    for (const TShown& s : FShown)
        out << s.Text;
    return out;
}
