#include "ControlsDialog.h"

#include "ControllerInput.h"
#include "ControlsSettings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A window of the program with this property pauses the game while it is active.
const char* const PausesGameProperty = "trivoraPausesGame";

// The cabinet buttons as the player knows them.
QString buttonCaption(CabinetButton button) {
    switch (button) {
    case CabinetButton::A:
        return QStringLiteral("A (red)");
    case CabinetButton::B:
        return QStringLiteral("B (green)");
    case CabinetButton::C:
        return QStringLiteral("C (blue)");
    case CabinetButton::D:
        return QStringLiteral("D (yellow)");
    case CabinetButton::Start:
    case CabinetButton::Stop:
        break;
    }
    return cabinetButtonName(button);
}

QColor buttonColour(CabinetButton button) {
    switch (button) {
    case CabinetButton::A:
        return QColor(0xE0, 0x20, 0x20);
    case CabinetButton::B:
        return QColor(0x20, 0xA0, 0x20);
    case CabinetButton::C:
        return QColor(0x20, 0x60, 0xE0);
    case CabinetButton::D:
        return QColor(0xC8, 0xA0, 0x00);
    case CabinetButton::Start:
    case CabinetButton::Stop:
        break;
    }
    return QColor(0x30, 0x30, 0x30);
}

const QString introText = QStringLiteral(
    "Game controllers play as they are: the right, bottom, left and top face buttons (red, "
    "green, blue and yellow on the common layout) answer A, B, C and D, Start presses START and "
    "either shoulder button presses STOP.\n\n"
    "To play with a joystick or an encoder board, or to put a controller's buttons elsewhere, "
    "press the button you want for each cabinet button in turn, all on that one device.");
} // namespace

ControlsDialog::ControlsDialog(ControllerInput& input, const QString& notice, QWidget* parent)
    : QDialog(parent), m_input(input), m_capture(input) {
    setObjectName(QStringLiteral("ControlsDialog"));
    setWindowTitle(QStringLiteral("Controls"));
    setProperty(PausesGameProperty, true);

    auto* intro = new QLabel(introText, this);
    intro->setWordWrap(true);

    promptLabel = new QLabel(this);
    promptLabel->setObjectName(QStringLiteral("promptLabel"));
    QFont big = promptLabel->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    promptLabel->setFont(big);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    for (std::size_t i = 0; i < allCabinetButtons.size(); ++i) {
        const CabinetButton button = allCabinetButtons[i];
        auto* name = new QLabel(buttonCaption(button), this);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        QPalette pal = name->palette();
        pal.setColor(QPalette::WindowText, buttonColour(button));
        name->setPalette(pal);
        inputLabels[i] = new QLabel(this);
        inputLabels[i]->setObjectName(QStringLiteral("inputLabel") + cabinetButtonName(button));
        inputLabels[i]->setAccessibleName(cabinetButtonName(button));
        const int row = static_cast<int>(i);
        grid->addWidget(name, row, 0);
        grid->addWidget(inputLabels[i], row, 1);
    }
    grid->setColumnStretch(1, 1);

    devicesLabel = new QLabel(this);
    devicesLabel->setObjectName(QStringLiteral("devicesLabel"));
    devicesLabel->setWordWrap(true);
    messageLabel = new QLabel(notice, this);
    messageLabel->setObjectName(QStringLiteral("messageLabel"));
    messageLabel->setWordWrap(true);

    startAgainButton = new QPushButton(QStringLiteral("&Start Again"), this);
    startAgainButton->setObjectName(QStringLiteral("startAgainButton"));
    defaultsButton = new QPushButton(QStringLiteral("Use &Defaults"), this);
    defaultsButton->setObjectName(QStringLiteral("defaultsButton"));
    closeButton = new QPushButton(QStringLiteral("Cancel"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    // Enter presses no button while the set-up asks; once it has ended, Enter (and START on
    // a controller) closes the window.
    for (QPushButton* b : {startAgainButton, defaultsButton, closeButton})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(startAgainButton);
    buttons->addWidget(defaultsButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);

    auto* page = new QVBoxLayout(this);
    page->addWidget(intro);
    page->addSpacing(8);
    page->addWidget(promptLabel);
    page->addLayout(grid);
    page->addSpacing(8);
    page->addWidget(devicesLabel);
    page->addWidget(messageLabel);
    page->addLayout(buttons);
    setMinimumWidth(460);

    connect(startAgainButton, &QPushButton::clicked, this, [this] { startAsking(); });
    connect(defaultsButton, &QPushButton::clicked, this, [this] { useDefaults(); });
    connect(closeButton, &QPushButton::clicked, this, [this] { reject(); });
    connect(&m_capture, &ControlsCapture::waitingForChanged, this,
            [this](CabinetButton button) { buttonAwaited(button); });
    connect(&m_capture, &ControlsCapture::rejected, messageLabel, &QLabel::setText);
    connect(&m_capture, &ControlsCapture::finished, this,
            [this](const QString& problem) { captureFinished(problem); });
    connect(&m_input, &ControllerInput::deviceConnected, this, [this] { showDevices(); });
    connect(&m_input, &ControllerInput::deviceDisconnected, this, [this] { showDevices(); });

    showDevices();
    if (m_input.available()) {
        m_capture.start();
    } else {
        promptLabel->setText(QStringLiteral("Controllers cannot be read."));
        startAgainButton->setEnabled(false);
        closeButton->setText(QStringLiteral("Close"));
        closeButton->setDefault(true);
        showMapping();
    }
}

ControlsDialog::~ControlsDialog() = default;

void ControlsDialog::done(int result) {
    // Closed before the last press: the buttons in use and the stored ones stay as they were.
    m_capture.cancel();
    QDialog::done(result);
}

void ControlsDialog::startAsking() {
    messageLabel->clear();
    closeButton->setText(QStringLiteral("Cancel"));
    closeButton->setDefault(false);
    m_capture.start();
}

void ControlsDialog::buttonAwaited(CabinetButton button) {
    if (button == allCabinetButtons.front())
        promptLabel->setText(QStringLiteral("Press the button for A on the device to set up."));
    else
        promptLabel->setText(QStringLiteral("Press the button for %1.").arg(buttonCaption(button)));
    // The first press has come: the earlier notice has had its say.
    if (button != allCabinetButtons.front()) messageLabel->clear();
    showMapping();
}

void ControlsDialog::captureFinished(const QString& problem) {
    promptLabel->setText(QStringLiteral("All six buttons are set."));
    messageLabel->setText(problem.isEmpty()
                              ? QStringLiteral("They play from now on and are stored in "
                                               "Trivora.conf.")
                              : problem);
    closeButton->setText(QStringLiteral("Close"));
    closeButton->setDefault(true);
    showMapping();
}

void ControlsDialog::useDefaults() {
    m_capture.cancel();
    const JoystickMapping defaults;
    m_input.setMapping(defaults);
    promptLabel->setText(QStringLiteral("The default buttons are set."));
    messageLabel->setText(
        ControlsSettings::save(defaults)
            ? QStringLiteral("Game controllers play by their layout; on joysticks and encoder "
                             "boards buttons 0 to 3 answer A to D, button 4 is STOP and button 5 "
                             "is START.")
            : QStringLiteral("The controller buttons could not be stored in Trivora.conf. They "
                             "work until the game ends."));
    closeButton->setText(QStringLiteral("Close"));
    closeButton->setDefault(true);
    showMapping();
}

void ControlsDialog::showMapping() {
    const std::optional<CabinetButton> waiting = m_capture.waitingFor();
    const JoystickMapping& shown = waiting ? m_capture.mapping() : m_input.mapping();
    for (std::size_t i = 0; i < allCabinetButtons.size(); ++i) {
        const CabinetButton button = allCabinetButtons[i];
        QLabel* label = inputLabels[i];
        const bool now = waiting == button;
        label->setText(now ? QStringLiteral("\u25C0 press now") : shown.input(button).toText());
        QFont font = label->font();
        font.setBold(now);
        label->setFont(font);
    }
}

void ControlsDialog::showDevices() {
    if (!m_input.available()) {
        devicesLabel->setText(
            QStringLiteral("Controllers cannot be read: %1").arg(m_input.errorText()));
        return;
    }
    const QStringList names = m_input.connectedNames();
    devicesLabel->setText(
        names.isEmpty()
            ? QStringLiteral("No controller is connected. Plug one in: it is found at once.")
            : QStringLiteral("Connected: %1").arg(names.join(QStringLiteral(", "))));
}
