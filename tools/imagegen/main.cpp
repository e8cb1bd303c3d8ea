// Draws the application's lamp, icon and logo images into resources/images/, or the desktop icon
// in the sizes of the icon theme.
// Usage: swiftlane-imagegen <output folder>
//        swiftlane-imagegen --app-icons <theme folder> <icon name>

#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

#include <cmath>

namespace {

QImage blankImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void beginPainting(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
}

// A lit lamp glows from the middle; an unlit one is a dull dome.
QImage roundLamp(const QColor& colour, bool lit)
{
    QImage image = blankImage(100, 100);
    QPainter p(&image);
    beginPainting(p);

    QLinearGradient bezel(0, 0, 0, 100);
    bezel.setColorAt(0, QColor(200, 200, 200));
    bezel.setColorAt(1, QColor(60, 60, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(QRectF(2, 2, 96, 96));

    QRadialGradient body(QPointF(50, 56), 44, QPointF(50, 62));
    body.setColorAt(0, lit ? colour.lighter(150) : colour);
    body.setColorAt(0.7, colour);
    body.setColorAt(1, colour.darker(lit ? 220 : 160));
    p.setBrush(body);
    p.drawEllipse(QRectF(9, 9, 82, 82));

    QLinearGradient gloss(0, 12, 0, 56);
    gloss.setColorAt(0, QColor(255, 255, 255, lit ? 200 : 120));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawEllipse(QRectF(22, 13, 56, 40));
    return image;
}

QImage squareLamp(const QColor& colour, bool lit)
{
    QImage image = blankImage(100, 100);
    QPainter p(&image);
    beginPainting(p);

    QLinearGradient bezel(0, 0, 0, 100);
    bezel.setColorAt(0, QColor(190, 190, 190));
    bezel.setColorAt(1, QColor(50, 50, 50));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(QRectF(2, 2, 96, 96), 12, 12);

    QRadialGradient body(QPointF(50, 55), 60, QPointF(50, 60));
    body.setColorAt(0, lit ? colour.lighter(150) : colour.lighter(130));
    body.setColorAt(0.6, colour);
    body.setColorAt(1, colour.darker(lit ? 220 : 140));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(10, 10, 80, 80), 8, 8);

    QLinearGradient gloss(0, 12, 0, 50);
    gloss.setColorAt(0, QColor(255, 255, 255, lit ? 170 : 90));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(16, 14, 68, 32), 6, 6);
    return image;
}

QImage gearIcon()
{
    QImage image = blankImage(48, 48);
    QPainter p(&image);
    beginPainting(p);
    p.translate(24, 24);

    QPainterPath teeth;
    const int toothCount = 8;
    for (int i = 0; i < toothCount; ++i) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-4.5, -22, 9, 12), 2, 2);
        teeth.addPath(QTransform().rotate(i * 360.0 / toothCount).map(tooth));
    }
    QPainterPath wheel;
    wheel.addEllipse(QPointF(0, 0), 15.5, 15.5);
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 0), 6, 6);
    const QPainterPath gear = teeth.united(wheel).subtracted(hole);

    QLinearGradient metal(-20, -20, 20, 20);
    metal.setColorAt(0, QColor(190, 200, 215));
    metal.setColorAt(1, QColor(80, 90, 110));
    p.setPen(QPen(QColor(50, 55, 65), 1.5));
    p.setBrush(metal);
    p.drawPath(gear);
    return image;
}

QImage folderIcon()
{
    QImage image = blankImage(48, 48);
    QPainter p(&image);
    beginPainting(p);
    p.setPen(QPen(QColor(150, 105, 20), 1.5));

    QPainterPath back;
    back.moveTo(4, 12);
    back.lineTo(17, 12);
    back.lineTo(21, 16);
    back.lineTo(44, 16);
    back.lineTo(44, 40);
    back.lineTo(4, 40);
    back.closeSubpath();
    p.setBrush(QColor(225, 170, 50));
    p.drawPath(back);

    QLinearGradient front(0, 20, 0, 40);
    front.setColorAt(0, QColor(255, 220, 110));
    front.setColorAt(1, QColor(240, 185, 60));
    QPainterPath flap;
    flap.moveTo(4, 40);
    flap.lineTo(9, 21);
    flap.lineTo(47, 21);
    flap.lineTo(44, 40);
    flap.closeSubpath();
    p.setBrush(front);
    p.drawPath(flap);
    return image;
}

QImage binocularsIcon()
{
    QImage image = blankImage(48, 48);
    QPainter p(&image);
    beginPainting(p);
    p.setPen(QPen(QColor(20, 20, 25), 1.5));
    p.setBrush(QColor(55, 60, 70));

    p.drawRoundedRect(QRectF(8, 9, 11, 18), 3, 3);
    p.drawRoundedRect(QRectF(29, 9, 11, 18), 3, 3);
    p.drawRect(QRectF(18, 15, 12, 7));
    p.drawEllipse(QRectF(3, 22, 19, 19));
    p.drawEllipse(QRectF(26, 22, 19, 19));

    QRadialGradient lens(QPointF(0, 0), 7);
    lens.setColorAt(0, QColor(170, 210, 255));
    lens.setColorAt(1, QColor(40, 80, 150));
    for (const QPointF centre : {QPointF(12.5, 31.5), QPointF(35.5, 31.5)}) {
        lens.setCenter(centre);
        lens.setFocalPoint(centre - QPointF(2, 2));
        p.setBrush(lens);
        p.drawEllipse(centre, 6.5, 6.5);
    }
    return image;
}

// A chequered flag on a pole, filling `area`.
void drawFlag(QPainter& p, const QRectF& area)
{
    const double w = area.width();
    const double h = area.height();
    const QPointF origin = area.topLeft();

    p.setPen(QPen(QColor(90, 60, 30), w * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(origin + QPointF(w * 0.12, h * 0.08), origin + QPointF(w * 0.12, h * 0.96));

    const double left = w * 0.16;
    const double top = h * 0.1;
    const double flagWidth = w * 0.78;
    const double flagHeight = h * 0.5;
    const int columns = 5;
    const int rows = 4;
    p.setPen(Qt::NoPen);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            p.setBrush((r + c) % 2 == 0 ? Qt::black : Qt::white);
            const double x = left + c * flagWidth / columns;
            // A gentle wave: each column drops a little with a sine.
            const double wave = std::sin(c * 1.2) * h * 0.04;
            const double y = top + r * flagHeight / rows + wave;
            p.drawRect(
                QRectF(origin + QPointF(x, y), QSizeF(flagWidth / columns + 0.5, flagHeight / rows + 0.5)));
        }
    }
}

QImage flagIcon()
{
    QImage image = blankImage(48, 48);
    QPainter p(&image);
    beginPainting(p);
    drawFlag(p, QRectF(0, 0, 48, 48));
    return image;
}

void drawRunner(QPainter& p, const QPointF& at, double scale)
{
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    const QColor ink(255, 255, 255);
    p.setPen(QPen(ink, 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    // Leaning torso, bent arms and legs in full stride.
    const QPointF neck(6, -30), hip(-4, 2);
    p.drawLine(neck, hip);
    p.drawPolyline(QPolygonF({neck + QPointF(-1, 3), QPointF(-12, -14), QPointF(-20, -4)}));
    p.drawPolyline(QPolygonF({neck + QPointF(0, 3), QPointF(18, -18), QPointF(28, -26)}));
    p.drawPolyline(QPolygonF({hip, QPointF(14, 14), QPointF(10, 34)}));
    p.drawPolyline(QPolygonF({hip, QPointF(-16, 16), QPointF(-32, 14)}));
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(11, -42), 7, 7);
    p.restore();
}

QImage logo()
{
    QImage image(279, 169, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    beginPainting(p);

    QLinearGradient sky(0, 0, 0, 169);
    sky.setColorAt(0, QColor(20, 60, 140));
    sky.setColorAt(1, QColor(5, 20, 60));
    p.fillRect(image.rect(), sky);

    // Speed lines behind the runner.
    p.setPen(QPen(QColor(120, 190, 255, 160), 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(18 + i * 6, 40 + i * 12), QPointF(58 + i * 4, 40 + i * 12));

    // The lane: a green track with a finish line.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 150, 70));
    p.drawRect(QRectF(0, 104, 279, 10));
    drawRunner(p, QPointF(95, 62), 1.0);
    drawFlag(p, QRectF(180, 16, 76, 76));

    QFont font("DejaVu Sans");
    font.setPixelSize(40);
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRectF(0, 116, 279, 48), Qt::AlignCenter, QStringLiteral("Swiftlane"));
    return image;
}

// The desktop icon: the chequered flag on a rounded tile, so it reads on light and dark panels.
QImage appIcon(int size)
{
    QImage image = blankImage(size, size);
    QPainter p(&image);
    beginPainting(p);
    const double s = size;
    QLinearGradient sky(0, 0, 0, s);
    sky.setColorAt(0, QColor(40, 95, 190));
    sky.setColorAt(1, QColor(10, 35, 95));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.18, s * 0.18);
    p.setBrush(QColor(30, 150, 70));
    p.drawRect(QRectF(s * 0.03, s * 0.78, s * 0.94, s * 0.08));
    drawFlag(p, QRectF(s * 0.12, s * 0.1, s * 0.8, s * 0.8));
    return image;
}

bool save(const QImage& image, const QString& folder, const QString& name)
{
    const QString path = QDir(folder).filePath(name + ".png");
    if (image.save(path, "PNG"))
        return true;
    QTextStream(stderr) << "cannot write " << path << "\n";
    return false;
}

// One PNG per size of the icon theme: <theme folder>/<n>x<n>/apps/<icon name>.png.
bool saveAppIcons(const QString& themeFolder, const QString& iconName)
{
    bool ok = true;
    for (const int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const QString folder = QDir(themeFolder).filePath(QStringLiteral("%1x%1/apps").arg(size));
        QDir().mkpath(folder);
        ok &= save(appIcon(size), folder, iconName);
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--app-icons")
        return saveAppIcons(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    if (argc != 2) {
        QTextStream(stderr) << "usage: swiftlane-imagegen <output folder>\n"
                               "       swiftlane-imagegen --app-icons <theme folder> <icon name>\n";
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    bool ok = true;
    ok &= save(roundLamp(QColor(20, 200, 40), true), folder, "LED_Circle_Green_On");
    ok &= save(roundLamp(QColor(220, 30, 25), true), folder, "LED_Circle_Red_On");
    ok &= save(roundLamp(QColor(110, 110, 110), false), folder, "LED_Circle_Grey_Off");
    ok &= save(squareLamp(QColor(30, 90, 230), true), folder, "LED_Square_Blue_On");
    ok &= save(squareLamp(QColor(255, 140, 0), true), folder, "LED_Square_Orange_On");
    ok &= save(squareLamp(QColor(25, 25, 25), false), folder, "LED_Square_Black_Off");
    ok &= save(gearIcon(), folder, "config");
    ok &= save(folderIcon(), folder, "folder");
    ok &= save(binocularsIcon(), folder, "binoculars");
    ok &= save(flagIcon(), folder, "checkered_flag");
    ok &= save(logo(), folder, "logo");
    return ok ? 0 : 1;
}
