// trivora-render-svg IN.svg OUT.png [SCALE]: renders one picture with the program's own SVG
// renderer, for looking at artwork outside the game.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: trivora-render-svg IN.svg OUT.png [SCALE]\n");
        return 2;
    }
    const double scale = argc > 3 ? QString::fromLocal8Bit(argv[3]).toDouble() : 1.0;
    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "trivora-render-svg: cannot read %s\n", argv[1]);
        return 1;
    }
    const QSize size = (renderer.viewBox().size() * scale);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "trivora-render-svg: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
