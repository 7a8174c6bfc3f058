#include "TitleBand.h"

#include "ImageView.h"
#include "PlayAreaStyle.h"
#include "ScreenState.h"

#include <QHBoxLayout>

namespace {
constexpr QSize LogoSize(401, 102);
constexpr QSize DecorationSize(115, 100);
} // namespace

TitleBand::TitleBand(QWidget* parent, Clock& clock, ScreenState& display)
    : Panel(parent, QStringLiteral("topBand")), display(display) {
    setFixedHeight(112);
    setColor(PlayAreaStyle::cabinetMetal);
    setBevelOuter(Bevel::Raised);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 6, 4, 6);
    row->setSpacing(0);

    // A decoration fills the band's side; its picture stays at its size in the middle.
    const auto side = [this, row](const char* panelName, const char* name, const char* artwork,
                                  int position) {
        auto* holder = new Panel(this, QString::fromLatin1(panelName));
        holder->setTransparent(true);
        auto* decoration = new ImageView(holder, QString::fromLatin1(name));
        decoration->setAccessibleName(QStringLiteral("Decoration"));
        decoration->setArtwork(QString::fromLatin1(artwork), DecorationSize);
        auto* inner = new QHBoxLayout(holder);
        inner->setContentsMargins(0, 0, 0, 0);
        inner->addWidget(decoration);
        row->insertWidget(position, holder, 1);
        return decoration;
    };
    auto* titlePanel = new Panel(this, QStringLiteral("titlePanel"));
    titlePanel->setTransparent(true);
    titlePanel->setFixedSize(405, 100);
    topLogo = new ImageView(titlePanel, QStringLiteral("topLogo"));
    topLogo->setGeometry(0, 0, 405, 100);
    topLogo->setAccessibleName(QStringLiteral("Trivora"));
    row->addWidget(titlePanel, 0, Qt::AlignCenter);
    leftDecoration = side("topBandLeft", "leftDecoration", "decor-left", 0);
    rightDecoration = side("topBandRight", "rightDecoration", "decor-right", -1);

    topLogoLitPicture = PlayAreaStyle::pictureHolder(this, QStringLiteral("topLogoLitPicture"),
                                                     QStringLiteral("logo-in"), LogoSize);
    topLogoPicture = PlayAreaStyle::pictureHolder(this, QStringLiteral("topLogoPicture"),
                                                  QStringLiteral("logo-out"), LogoSize);

    logoTimer = std::make_unique<Timer>(clock, "topLogoTimer", 500, true, 0, [this] { flashLogo(); });
}

TitleBand::~TitleBand() = default;

void TitleBand::flashLogo() {
    const bool lit = display.logoPhase != 1;
    topLogo->copyPicture(lit ? *topLogoLitPicture : *topLogoPicture);
    display.logoPhase = lit ? 1 : 0;
}
