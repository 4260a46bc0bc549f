// Draws Morvik's skin: every bitmap, mask, icon and the cursor, named by
// resource id. Colour art is written at 1× and 2× (for dense screens);
// masks are one bit per pixel, white outside the shape.
//
//   morvik_makeart <output folder>
#include "skin/SkinGeometry.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>
#include <functional>

namespace {

const QColor kBase(100, 125, 142);
const QColor kHighlight(169, 184, 202);
const QColor kNavy(0, 0, 100);
const QColor kDeep(38, 52, 66);
const QColor kLight(214, 224, 234);
const QColor kGlyph(245, 248, 252);

using Painter = std::function<void(QPainter&, QSizeF)>;

QString outputDir;
QStringList written; // relative names, for the resource collection file

void Record(const QString& file) { written << file; }

QRectF ToRect(const SkinRect& r) { return QRectF(r.x, r.y, r.w, r.h); }

void WriteColour(const QString& name, QSize size, const Painter& paint, bool alpha = false)
{
    for (int scale : {1, 2}) {
        QImage image(size * scale, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
        image.fill(alpha ? Qt::transparent : Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        paint(painter, QSizeF(size));
        painter.end();
        const QString file = scale == 1 ? name + ".png" : name + "@2x.png";
        if (!image.save(outputDir + "/" + file))
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        Record(file);
    }
}

// A one-bit mask: the shape's pixels black, everything else white.
void WriteMask(const QString& name, QSize size, const QPainterPath& shape)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(shape, Qt::black);
    painter.end();
    image.convertToFormat(QImage::Format_Mono, Qt::MonoOnly | Qt::ThresholdDither).save(outputDir + "/" + name + ".png");
    Record(name + ".png");
}

QPainterPath RoundedShape(QRectF rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QLinearGradient Vertical(QRectF rect, QColor top, QColor bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

// The brushed slate body that every shaped window shares.
void PaintBody(QPainter& p, QRectF rect, qreal radius)
{
    p.fillRect(rect, Qt::white);
    QLinearGradient body = Vertical(rect, QColor(132, 155, 172), QColor(84, 106, 122));
    body.setColorAt(0.35, kBase.lighter(108));
    p.setPen(QPen(kDeep, 1));
    p.setBrush(body);
    p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
}

// A sunken panel behind a control.
void PaintRecess(QPainter& p, QRectF rect, qreal radius, QColor fill = QColor(58, 76, 90))
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawRoundedRect(rect.adjusted(0, 0, 1, 1), radius, radius);
    p.setBrush(QColor(20, 30, 40, 140));
    p.drawRoundedRect(rect.adjusted(-1, -1, 0, 0), radius, radius);
    p.setBrush(fill);
    p.drawRoundedRect(rect, radius, radius);
}

void PaintCaption(QPainter& p, QPointF at, const QString& text, int pixelSize, bool bold = true)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(QColor(20, 30, 40, 120));
    p.drawText(at + QPointF(1, 1), text);
    p.setPen(kGlyph);
    p.drawText(at, text);
}

// ---- glyphs drawn on buttons, centred in a box of side s ----

void GlyphDisc(QPainter& p, QPointF c, qreal s)
{
    p.setPen(QPen(kGlyph, s * 0.09));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, s * 0.42, s * 0.42);
    p.setBrush(kGlyph);
    p.drawEllipse(c, s * 0.11, s * 0.11);
    p.setPen(QPen(kGlyph, s * 0.06));
    p.drawArc(QRectF(c.x() - s * 0.28, c.y() - s * 0.28, s * 0.56, s * 0.56), 30 * 16, 60 * 16);
}

void GlyphRefresh(QPainter& p, QPointF c, qreal s)
{
    p.setPen(QPen(kGlyph, s * 0.12, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF arc(c.x() - s * 0.36, c.y() - s * 0.36, s * 0.72, s * 0.72);
    p.drawArc(arc, 40 * 16, 280 * 16);
    QPainterPath head;
    const QPointF tip(c.x() + s * 0.28, c.y() - s * 0.23);
    head.moveTo(tip + QPointF(s * 0.14, -s * 0.22));
    head.lineTo(tip + QPointF(s * 0.16, s * 0.10));
    head.lineTo(tip + QPointF(-s * 0.16, s * 0.02));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawPath(head);
}

void GlyphSector(QPainter& p, QPointF c, qreal s)
{
    QFont font("DejaVu Sans Mono");
    font.setPixelSize(int(s * 0.42));
    font.setBold(true);
    p.setFont(font);
    p.setPen(kGlyph);
    const QRectF box(c.x() - s / 2, c.y() - s / 2, s, s);
    p.drawText(box.adjusted(0, 0, 0, -s / 2), Qt::AlignCenter, "01");
    p.drawText(box.adjusted(0, s / 2, 0, 0), Qt::AlignCenter, "A7");
}

void GlyphList(QPainter& p, QPointF c, qreal s)
{
    p.setPen(QPen(kGlyph, s * 0.1, Qt::SolidLine, Qt::RoundCap));
    for (int i = -1; i <= 1; ++i) {
        const qreal y = c.y() + i * s * 0.28;
        p.drawPoint(QPointF(c.x() - s * 0.34, y));
        p.drawLine(QPointF(c.x() - s * 0.14, y), QPointF(c.x() + s * 0.38, y));
    }
}

void GlyphSave(QPainter& p, QPointF c, qreal s)
{
    p.setPen(QPen(kGlyph, s * 0.11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(c.x(), c.y() - s * 0.4), QPointF(c.x(), c.y() + s * 0.1));
    p.drawPolyline(QPolygonF({QPointF(c.x() - s * 0.2, c.y() - s * 0.08), QPointF(c.x(), c.y() + s * 0.12),
                              QPointF(c.x() + s * 0.2, c.y() - s * 0.08)}));
    p.drawPolyline(QPolygonF({QPointF(c.x() - s * 0.38, c.y() + s * 0.1), QPointF(c.x() - s * 0.38, c.y() + s * 0.36),
                              QPointF(c.x() + s * 0.38, c.y() + s * 0.36), QPointF(c.x() + s * 0.38, c.y() + s * 0.1)}));
}

void GlyphLetter(QPainter& p, QPointF c, qreal s, const QString& letter, const char* family = "DejaVu Serif")
{
    QFont font(family);
    font.setPixelSize(int(s * 0.78));
    font.setBold(true);
    p.setFont(font);
    p.setPen(kGlyph);
    p.drawText(QRectF(c.x() - s / 2, c.y() - s / 2, s, s), Qt::AlignCenter, letter);
}

void GlyphDrive(QPainter& p, QPointF c, qreal s)
{
    p.setPen(QPen(kGlyph, s * 0.08));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(c.x() - s * 0.42, c.y() - s * 0.22, s * 0.84, s * 0.44), s * 0.06, s * 0.06);
    p.drawLine(QPointF(c.x() - s * 0.3, c.y()), QPointF(c.x() + s * 0.05, c.y()));
    p.setBrush(kGlyph);
    p.drawEllipse(QPointF(c.x() + s * 0.25, c.y()), s * 0.05, s * 0.05);
}

void GlyphPower(QPainter& p, QPointF c, qreal s)
{
    p.setPen(QPen(kGlyph, s * 0.11, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - s * 0.34, c.y() - s * 0.3, s * 0.68, s * 0.68), 125 * 16, 290 * 16);
    p.drawLine(QPointF(c.x(), c.y() - s * 0.42), QPointF(c.x(), c.y() - s * 0.02));
}

void GlyphCross(QPainter& p, QPointF c, qreal s, QColor colour = kGlyph)
{
    p.setPen(QPen(colour, s * 0.14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-s * 0.26, -s * 0.26), c + QPointF(s * 0.26, s * 0.26));
    p.drawLine(c + QPointF(-s * 0.26, s * 0.26), c + QPointF(s * 0.26, -s * 0.26));
}

void GlyphCheck(QPainter& p, QPointF c, qreal s)
{
    p.setPen(QPen(kGlyph, s * 0.14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({c + QPointF(-s * 0.3, 0), c + QPointF(-s * 0.08, s * 0.24), c + QPointF(s * 0.32, -s * 0.26)}));
}

void GlyphEject(QPainter& p, QPointF c, qreal s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawPolygon(QPolygonF({c + QPointF(0, -s * 0.3), c + QPointF(s * 0.3, s * 0.04), c + QPointF(-s * 0.3, s * 0.04)}));
    p.drawRect(QRectF(c.x() - s * 0.3, c.y() + s * 0.14, s * 0.6, s * 0.1));
}

void GlyphLoad(QPainter& p, QPointF c, qreal s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawPolygon(QPolygonF({c + QPointF(0, s * 0.22), c + QPointF(s * 0.3, -s * 0.12), c + QPointF(-s * 0.3, -s * 0.12)}));
    p.drawRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.3, s * 0.6, s * 0.1));
}

using Glyph = std::function<void(QPainter&, QPointF, qreal)>;

// A round button face: a raised dome, pressed sinks and darkens.
Painter RoundFace(const Glyph& glyph, bool pressed, QColor tint = kBase)
{
    return [=](QPainter& p, QSizeF size) {
        const QRectF outer(0, 0, size.width(), size.height());
        p.fillRect(outer, kBase);
        p.setPen(Qt::NoPen);
        p.setBrush(kDeep);
        p.drawEllipse(outer);
        QRadialGradient dome(outer.center() - QPointF(0, size.height() * 0.22), size.width() * 0.75);
        dome.setColorAt(0, pressed ? tint.darker(115) : tint.lighter(150));
        dome.setColorAt(0.6, pressed ? tint.darker(140) : tint);
        dome.setColorAt(1, pressed ? tint.darker(170) : tint.darker(135));
        p.setBrush(dome);
        p.drawEllipse(outer.adjusted(1.5, 1.5, -1.5, -1.5));
        if (!pressed) {
            p.setBrush(QColor(255, 255, 255, 70));
            p.drawEllipse(QRectF(size.width() * 0.22, size.height() * 0.1, size.width() * 0.56, size.height() * 0.3));
        }
        const qreal side = std::min(size.width(), size.height()) * 0.5;
        const QPointF shift = pressed ? QPointF(0.8, 0.8) : QPointF(0, 0);
        glyph(p, outer.center() + shift, side);
    };
}

enum class Pointing { Up, Right, Left, Down };

QPainterPath TriangleShape(QSizeF size, Pointing to)
{
    const qreal w = size.width(), h = size.height(), m = 1;
    QPolygonF corners;
    switch (to) {
    case Pointing::Up: corners = {{w / 2, m}, {w - m, h - m}, {m, h - m}}; break;
    case Pointing::Down: corners = {{m, m}, {w - m, m}, {w / 2, h - m}}; break;
    case Pointing::Left: corners = {{m, h / 2}, {w - m, m}, {w - m, h - m}}; break;
    case Pointing::Right: corners = {{m, m}, {w - m, h / 2}, {m, h - m}}; break;
    }
    QPainterPath path;
    path.addPolygon(corners);
    path.closeSubpath();
    return path;
}

QPointF TriangleCentre(QSizeF size, Pointing to)
{
    const qreal w = size.width(), h = size.height();
    switch (to) {
    case Pointing::Up: return {w / 2, h * 0.64};
    case Pointing::Down: return {w / 2, h * 0.36};
    case Pointing::Left: return {w * 0.64, h / 2};
    case Pointing::Right: return {w * 0.36, h / 2};
    }
    return {w / 2, h / 2};
}

Painter TriangleFace(Pointing to, const Glyph& glyph, bool pressed)
{
    return [=](QPainter& p, QSizeF size) {
        p.fillRect(QRectF(QPointF(0, 0), size), kBase);
        const QPainterPath shape = TriangleShape(size, to);
        p.setPen(QPen(kDeep, 1));
        QLinearGradient face = Vertical(QRectF(QPointF(0, 0), size), pressed ? kBase.darker(130) : kHighlight,
                                        pressed ? kBase.darker(160) : kBase.darker(115));
        p.setBrush(face);
        p.drawPath(shape);
        const qreal side = std::min(size.width(), size.height()) * 0.38;
        glyph(p, TriangleCentre(size, to) + (pressed ? QPointF(0.8, 0.8) : QPointF()), side);
    };
}

// ---- windows ----

void PaintMainSkin(QPainter& p, QSizeF size)
{
    using namespace MainLayout;
    const QRectF body(0, 0, size.width(), size.height());
    PaintBody(p, body, 18);

    // Header band with the menu row.
    QLinearGradient band = Vertical(QRectF(0, 26, size.width(), 30), QColor(150, 170, 186), QColor(112, 136, 153));
    p.setPen(Qt::NoPen);
    p.setBrush(band);
    p.drawRoundedRect(QRectF(FileMenu.x - 6, FileMenu.y - 4, HelpMenu.Right() - FileMenu.x + 12, FileMenu.h + 8), 5, 5);

    // The four-way pad behind the triangle buttons.
    const QRectF pad(Eject.x - 5, Eject.y - 5, CloseDevice.Right() - Eject.x + 10, Help.Bottom() - Eject.y + 10);
    PaintRecess(p, pad, 12, QColor(74, 95, 110));

    // Tool button row.
    const QRectF tools(SelectDevice.x - 7, SelectDevice.y - 4, Exit.Right() - SelectDevice.x + 14, SelectDevice.h + 8);
    PaintRecess(p, tools, (SelectDevice.h + 8) / 2.0, QColor(70, 90, 105));

    // Name plate.
    PaintCaption(p, QPointF(Exit.Right() + 26, SelectDevice.y + 22), "Morvik", 26);
    QFont small("DejaVu Sans");
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(kLight);
    p.drawText(QPointF(Exit.Right() + 28, SelectDevice.y + 36), "disc & image explorer");

    // Minimise and close sit in a small rounded plate.
    PaintRecess(p, QRectF(Minimise.x - 6, Minimise.y - 5, Close.Right() - Minimise.x + 12, Minimise.h + 10), 8,
                QColor(70, 90, 105));

    // The view area frame and the bottom bar.
    PaintRecess(p, ToRect(ViewArea).adjusted(-4, -4, 4, 4), 6, QColor(40, 54, 66));
    PaintRecess(p, QRectF(StatusLine.x, StatusLine.y - 1, Player.x - StatusLine.x - 6, StatusLine.h + 2), 6,
                QColor(64, 84, 98));
    PaintRecess(p, ToRect(Player).adjusted(-3, -2, 3, 2), 6, QColor(64, 84, 98));

    // Fine grooves down the left edge under the pad.
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int y = ViewArea.y + 8; y < ViewArea.Bottom() - 8; y += 6)
        p.drawLine(QPointF(20, y + 0.5), QPointF(46, y + 0.5));
    p.setPen(QPen(QColor(20, 30, 40, 60), 1));
    for (int y = ViewArea.y + 9; y < ViewArea.Bottom() - 8; y += 6)
        p.drawLine(QPointF(20, y + 0.5), QPointF(46, y + 0.5));
}

void PaintDeviceSkin(QPainter& p, QSizeF size)
{
    using namespace DeviceLayout;
    PaintBody(p, QRectF(QPointF(0, 0), size), 14);
    GlyphDisc(p, QPointF(24, 18), 16);
    PaintCaption(p, QPointF(38, 23), "Select the Device", 13);
    PaintRecess(p, ToRect(DriveList).adjusted(-3, -3, 3, 3), 5, QColor(40, 54, 66));
    QFont hint("DejaVu Sans");
    hint.setPixelSize(10);
    p.setFont(hint);
    p.setPen(kLight);
    p.drawText(QRectF(16, Ok.y, Ok.x - 24, Ok.h), Qt::AlignVCenter | Qt::TextWordWrap,
               "Pick a drive, or [Image File] to open a disc image.");
    for (const SkinRect& r : {Ok, Cancel}) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 54, 66, 140));
        p.drawEllipse(ToRect(r).adjusted(-3, -3, 3, 3));
    }
}

void PaintProgressSkin(QPainter& p, QSizeF size)
{
    using namespace ProgressLayout;
    PaintBody(p, QRectF(QPointF(0, 0), size), 16);
    PaintCaption(p, QPointF(Target.x, 22), "Saving", 13);
    PaintRecess(p, ToRect(Target).adjusted(-2, -2, 2, 2), 4, QColor(40, 54, 66));
    PaintRecess(p, ToRect(Bar).adjusted(-2, -2, 2, 2), 4, QColor(40, 54, 66));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 54, 66, 140));
    p.drawEllipse(ToRect(Cancel).adjusted(-3, -3, 3, 3));
}

void PaintScanSkin(QPainter& p, QSizeF size)
{
    PaintBody(p, QRectF(QPointF(0, 0), size), 16);
    PaintRecess(p, QRectF(12, 32, size.width() - 24, size.height() - 80), 5, QColor(40, 54, 66));
}

void PaintAboutPicture(QPainter& p, QSizeF size)
{
    p.fillRect(QRectF(QPointF(0, 0), size), kBase);
    const QPointF centre(52, 50);
    QRadialGradient disc(centre, 40);
    disc.setColorAt(0, QColor(240, 244, 250));
    disc.setColorAt(0.5, kHighlight);
    disc.setColorAt(0.8, QColor(200, 214, 230));
    disc.setColorAt(1, QColor(120, 140, 160));
    p.setPen(QPen(kDeep, 1));
    p.setBrush(disc);
    p.drawEllipse(centre, 40, 40);
    p.setBrush(kBase);
    p.drawEllipse(centre, 8, 8);
    p.setPen(QPen(QColor(255, 255, 255, 150), 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - 28, centre.y() - 28, 56, 56), 100 * 16, 60 * 16);
    PaintCaption(p, QPointF(100, 52), "Morvik", 24);
    QFont tag("DejaVu Sans");
    tag.setPixelSize(10);
    p.setFont(tag);
    p.setPen(kLight);
    p.drawText(QPointF(102, 68), "looks inside discs");
}

void PaintBadge(QPainter& p, QSizeF size)
{
    p.fillRect(QRectF(QPointF(0, 0), size), kBase);
    RoundFace(GlyphDisc, false, kHighlight.darker(120))(p, size);
}

// ---- small icons ----

void PaintFolder(QPainter& p, QSizeF s, bool open)
{
    const qreal w = s.width(), h = s.height();
    p.setPen(QPen(QColor(120, 90, 20), 1));
    p.setBrush(QColor(222, 178, 70));
    p.drawRoundedRect(QRectF(1.5, 3.5, w * 0.42, 3), 1, 1);
    p.drawRect(QRectF(1.5, 4.5, w - 3, h - 7));
    if (open) {
        p.setBrush(QColor(246, 214, 120));
        p.drawPolygon(QPolygonF({{3.5, 7.5}, {w - 0.5, 7.5}, {w - 2.5, h - 2.5}, {1.5, h - 2.5}}));
    } else {
        p.setPen(QPen(QColor(250, 226, 150), 1));
        p.drawLine(QPointF(2.5, 6.5), QPointF(w - 2.5, 6.5));
    }
}

void PaintFile(QPainter& p, QSizeF s)
{
    const qreal w = s.width(), h = s.height();
    p.setPen(QPen(QColor(90, 100, 110), 1));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({{3.5, 1.5}, {w - 5.5, 1.5}, {w - 2.5, 4.5}, {w - 2.5, h - 1.5}, {3.5, h - 1.5}}));
    p.setPen(QPen(kHighlight.darker(130), 1));
    for (qreal y = 6.5; y < h - 2; y += 2.5)
        p.drawLine(QPointF(5.5, y), QPointF(w - 4.5, y));
}

void PaintTrackIcon(QPainter& p, QSizeF s, bool audio)
{
    const QPointF c(s.width() / 2, s.height() / 2);
    QRadialGradient disc(c, s.width() / 2);
    disc.setColorAt(0, Qt::white);
    disc.setColorAt(1, audio ? QColor(190, 170, 220) : kHighlight);
    p.setPen(QPen(kDeep, 1));
    p.setBrush(disc);
    p.drawEllipse(c, s.width() / 2 - 1, s.height() / 2 - 1);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 2, 2);
    QFont font("DejaVu Sans");
    font.setPixelSize(int(s.height() * 0.55));
    font.setBold(true);
    p.setFont(font);
    p.setPen(audio ? QColor(90, 30, 130) : kNavy);
    p.drawText(QRectF(s.width() * 0.45, s.height() * 0.35, s.width() * 0.6, s.height() * 0.7), Qt::AlignCenter,
               audio ? QString::fromUtf8("\u266A") : "D");
}

void PaintAppIcon(QPainter& p, QSizeF s)
{
    const qreal w = s.width();
    QLinearGradient back = Vertical(QRectF(QPointF(0, 0), s), QColor(132, 155, 172), QColor(70, 92, 108));
    p.setPen(QPen(kDeep, w / 48));
    p.setBrush(back);
    p.drawRoundedRect(QRectF(w * 0.04, w * 0.04, w * 0.92, w * 0.92), w * 0.2, w * 0.2);
    const QPointF c(w * 0.44, w * 0.46);
    QRadialGradient disc(c, w * 0.34);
    disc.setColorAt(0, Qt::white);
    disc.setColorAt(0.55, kHighlight);
    disc.setColorAt(1, QColor(150, 168, 190));
    p.setBrush(disc);
    p.drawEllipse(c, w * 0.32, w * 0.32);
    p.setBrush(kBase);
    p.drawEllipse(c, w * 0.07, w * 0.07);
    // Magnifier over the disc.
    p.setPen(QPen(kNavy, w * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(QPointF(w * 0.62, w * 0.62), w * 0.14, w * 0.14);
    p.drawLine(QPointF(w * 0.72, w * 0.72), QPointF(w * 0.86, w * 0.86));
}

void PaintCursor(QPainter& p, QSizeF)
{
    QPainterPath arrow;
    arrow.moveTo(1, 1);
    arrow.lineTo(1, 17);
    arrow.lineTo(5, 13);
    arrow.lineTo(8, 20);
    arrow.lineTo(11, 19);
    arrow.lineTo(8, 12);
    arrow.lineTo(13, 12);
    arrow.closeSubpath();
    p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(kNavy);
    p.drawPath(arrow);
    QRadialGradient disc(QPointF(17, 17), 6);
    disc.setColorAt(0, Qt::white);
    disc.setColorAt(1, kHighlight);
    p.setPen(QPen(kDeep, 1));
    p.setBrush(disc);
    p.drawEllipse(QPointF(17, 17), 5.5, 5.5);
    p.setBrush(kDeep);
    p.drawEllipse(QPointF(17, 17), 1.2, 1.2);
}

// Player transport buttons: small rounded keys.
Painter PlayerKey(const std::function<void(QPainter&, QPointF, qreal)>& glyph, bool pressed)
{
    return [=](QPainter& p, QSizeF s) {
        p.fillRect(QRectF(QPointF(0, 0), s), kBase);
        p.setPen(QPen(kDeep, 1));
        p.setBrush(Vertical(QRectF(QPointF(0, 0), s), pressed ? kBase.darker(140) : kHighlight,
                            pressed ? kBase.darker(110) : kBase));
        p.drawRoundedRect(QRectF(0.5, 0.5, s.width() - 1, s.height() - 1), 4, 4);
        glyph(p, QPointF(s.width() / 2, s.height() / 2) + (pressed ? QPointF(0.6, 0.6) : QPointF()), s.height() * 0.5);
    };
}

void KeyShape(QPainter& p, const QPolygonF& poly)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawPolygon(poly);
}
void KeyPlay(QPainter& p, QPointF c, qreal s) { KeyShape(p, {c + QPointF(-s * 0.4, -s * 0.5), c + QPointF(s * 0.5, 0), c + QPointF(-s * 0.4, s * 0.5)}); }
void KeyPrev(QPainter& p, QPointF c, qreal s)
{
    KeyShape(p, {c + QPointF(s * 0.5, -s * 0.5), c + QPointF(-s * 0.2, 0), c + QPointF(s * 0.5, s * 0.5)});
    p.drawRect(QRectF(c.x() - s * 0.5, c.y() - s * 0.5, s * 0.2, s));
}
void KeyNext(QPainter& p, QPointF c, qreal s)
{
    KeyShape(p, {c + QPointF(-s * 0.5, -s * 0.5), c + QPointF(s * 0.2, 0), c + QPointF(-s * 0.5, s * 0.5)});
    p.drawRect(QRectF(c.x() + s * 0.3, c.y() - s * 0.5, s * 0.2, s));
}
void KeyPause(QPainter& p, QPointF c, qreal s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawRect(QRectF(c.x() - s * 0.45, c.y() - s * 0.5, s * 0.3, s));
    p.drawRect(QRectF(c.x() + s * 0.15, c.y() - s * 0.5, s * 0.3, s));
}
void KeyStop(QPainter& p, QPointF c, qreal s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kGlyph);
    p.drawRect(QRectF(c.x() - s * 0.45, c.y() - s * 0.45, s * 0.9, s * 0.9));
}

void WriteRoundPair(int normal, int pressed, QSize size, const Glyph& glyph, QColor tint = kBase)
{
    WriteColour(QString("bitmaps/IDB_%1").arg(normal), size, RoundFace(glyph, false, tint));
    if (pressed != normal)
        WriteColour(QString("bitmaps/IDB_%1").arg(pressed), size, RoundFace(glyph, true, tint));
}

void WriteTriangle(int mask, int normal, int pressed, const SkinRect& rect, Pointing to, const Glyph& glyph)
{
    const QSize size(rect.w, rect.h);
    WriteMask(QString("masks/IDB_%1").arg(mask), size, TriangleShape(size, to));
    WriteColour(QString("bitmaps/IDB_%1").arg(normal), size, TriangleFace(to, glyph, false));
    WriteColour(QString("bitmaps/IDB_%1").arg(pressed), size, TriangleFace(to, glyph, true));
}

QSize SizeOf(const SkinRect& r) { return {r.w, r.h}; }

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: morvik_makeart <output folder>\n");
        return 2;
    }
    outputDir = QString::fromLocal8Bit(argv[1]);
    for (const char* sub : {"bitmaps", "masks", "icons", "cursors"})
        QDir().mkpath(outputDir + "/" + sub);

    using namespace MainLayout;
    // Main window: mask 171, view-area mask 211, skin 217.
    WriteMask("masks/IDB_171", QSize(Width, Height), RoundedShape(QRectF(0, 0, SkinWidth, Height), 18));
    QPainterPath viewArea;
    viewArea.addRect(ToRect(ViewArea));
    WriteMask("masks/IDB_211", QSize(Width, Height), viewArea);
    WriteColour("bitmaps/IDB_217", QSize(SkinWidth, Height), PaintMainSkin);

    WriteRoundPair(142, 144, SizeOf(SelectDevice), GlyphDisc);
    WriteRoundPair(147, 148, SizeOf(Refresh), GlyphRefresh);
    WriteRoundPair(145, 146, SizeOf(SectorData), GlyphSector);
    WriteRoundPair(149, 150, SizeOf(Toc), GlyphList);
    WriteRoundPair(173, 174, SizeOf(SaveData), GlyphSave);
    WriteRoundPair(151, 152, SizeOf(Volume), [](QPainter& p, QPointF c, qreal s) { GlyphLetter(p, c, s, "i"); });
    WriteRoundPair(193, 194, SizeOf(DeviceInfo), GlyphDrive);
    WriteRoundPair(153, 154, SizeOf(Exit), GlyphPower, QColor(142, 100, 100));
    WriteRoundPair(207, 207, SizeOf(Minimise), [](QPainter& p, QPointF c, qreal s) {
        p.setPen(QPen(kGlyph, s * 0.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(-s * 0.4, s * 0.25), c + QPointF(s * 0.4, s * 0.25));
    });
    WriteRoundPair(206, 206, SizeOf(Close), [](QPainter& p, QPointF c, qreal s) { GlyphCross(p, c, s * 1.3); },
                   QColor(160, 90, 90));

    WriteTriangle(177, 179, 180, Eject, Pointing::Up, GlyphEject);
    WriteTriangle(181, 182, 184, About, Pointing::Left,
                  [](QPainter& p, QPointF c, qreal s) { GlyphLetter(p, c, s, "i"); });
    WriteTriangle(188, 189, 190, Help, Pointing::Down,
                  [](QPainter& p, QPointF c, qreal s) { GlyphLetter(p, c, s, "?", "DejaVu Sans"); });
    WriteTriangle(185, 186, 187, CloseDevice, Pointing::Right, GlyphLoad);

    // Device dialog, progress dialog, their round OK and Cancel buttons.
    WriteMask("masks/IDB_158", QSize(DeviceLayout::Width, DeviceLayout::Height),
              RoundedShape(QRectF(0, 0, DeviceLayout::Width, DeviceLayout::Height), 14));
    WriteColour("bitmaps/IDB_219", QSize(DeviceLayout::Width, DeviceLayout::Height), PaintDeviceSkin);
    WriteRoundPair(160, 161, QSize(30, 30), GlyphCheck, QColor(92, 130, 110));
    WriteRoundPair(162, 163, QSize(30, 30), [](QPainter& p, QPointF c, qreal s) { GlyphCross(p, c, s); },
                   QColor(142, 100, 100));
    WriteMask("masks/IDB_175", QSize(ProgressLayout::Width, ProgressLayout::Height),
              RoundedShape(QRectF(0, 0, ProgressLayout::Width, ProgressLayout::Height), 16));
    WriteColour("bitmaps/IDB_218", QSize(ProgressLayout::Width, ProgressLayout::Height), PaintProgressSkin);

    // Disc scan dialog and the player strip's keys.
    WriteMask("masks/IDB_237", QSize(374, 256), RoundedShape(QRectF(0, 0, 374, 256), 16));
    WriteColour("bitmaps/IDB_238", QSize(374, 256), PaintScanSkin);
    WriteColour("bitmaps/IDB_221", QSize(22, 18), PlayerKey(KeyPrev, false));
    WriteColour("bitmaps/IDB_222", QSize(22, 18), PlayerKey(KeyPrev, true));
    WriteColour("bitmaps/IDB_223", QSize(22, 18), PlayerKey(KeyPlay, false));
    WriteColour("bitmaps/IDB_224", QSize(22, 18), PlayerKey(KeyPlay, true));
    WriteColour("bitmaps/IDB_225", QSize(22, 17), PlayerKey(KeyNext, false));
    WriteColour("bitmaps/IDB_226", QSize(22, 17), PlayerKey(KeyNext, true));
    WriteColour("bitmaps/IDB_227", QSize(22, 17), PlayerKey(KeyPause, false));
    WriteColour("bitmaps/IDB_228", QSize(22, 17), PlayerKey(KeyPause, true));
    WriteColour("bitmaps/IDB_229", QSize(22, 17), PlayerKey(KeyStop, false));
    WriteColour("bitmaps/IDB_230", QSize(22, 17), PlayerKey(KeyStop, true));

    // About box pictures.
    WriteColour("bitmaps/IDB_216", QSize(200, 100), PaintAboutPicture);
    WriteColour("bitmaps/IDB_215", QSize(25, 25), PaintBadge);

    // Icons: the application, the explorer's five, the TOC rows', the cursor.
    WriteColour("icons/IDI_128", QSize(64, 64), PaintAppIcon, true);
    WriteColour("icons/folder", QSize(16, 16), [](QPainter& p, QSizeF s) { PaintFolder(p, s, false); }, true);
    WriteColour("icons/folder_open", QSize(16, 16), [](QPainter& p, QSizeF s) { PaintFolder(p, s, true); }, true);
    WriteColour("icons/file", QSize(16, 16), PaintFile, true);
    WriteColour("icons/audio_track", QSize(16, 16), [](QPainter& p, QSizeF s) { PaintTrackIcon(p, s, true); }, true);
    WriteColour("icons/data_track", QSize(16, 16), [](QPainter& p, QSizeF s) { PaintTrackIcon(p, s, false); }, true);
    WriteColour("icons/IDI_201", QSize(16, 16), [](QPainter& p, QSizeF s) { PaintTrackIcon(p, s, false); }, true);
    WriteColour("cursors/IDC_156", QSize(24, 24), PaintCursor, true);

    QFile qrc(outputDir + "/art.qrc");
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QTextStream out(&qrc);
    out << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/\">\n";
    for (const QString& file : written)
        out << "  <file>" << file << "</file>\n";
    out << "</qresource>\n</RCC>\n";
    return 0;
}
