#include "citykit/Pictures.h"

#include "citykit/Geometry.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

const QColor Palette[] = {QColor(192, 57, 43),  QColor(41, 128, 185), QColor(39, 174, 96),
                          QColor(142, 68, 173), QColor(211, 84, 0),   QColor(22, 160, 133),
                          QColor(44, 62, 80),   QColor(183, 28, 98),  QColor(120, 94, 40),
                          QColor(0, 121, 107),  QColor(94, 53, 177),  QColor(198, 134, 0)};
constexpr int PaletteSize = int(sizeof(Palette) / sizeof(Palette[0]));

QPainterPath shapePath(int shape, const QRectF &r)
{
    QPainterPath path;
    switch (shape % 4) {
    case 0:
        path.addEllipse(r);
        break;
    case 1:
        path.addRoundedRect(r, r.width() * 0.22, r.height() * 0.22);
        break;
    case 2: {
        QPolygonF hexagon;
        for (int i = 0; i < 6; ++i) {
            const double a = M_PI / 6 + i * M_PI / 3;
            hexagon << r.center() + QPointF(std::cos(a) * r.width() / 2, std::sin(a) * r.height() / 2);
        }
        path.addPolygon(hexagon);
        path.closeSubpath();
        break;
    }
    default: {
        // A shield.
        path.moveTo(r.left(), r.top());
        path.lineTo(r.right(), r.top());
        path.lineTo(r.right(), r.top() + r.height() * 0.55);
        path.quadTo(r.right(), r.bottom() - r.height() * 0.1, r.center().x(), r.bottom());
        path.quadTo(r.left(), r.bottom() - r.height() * 0.1, r.left(), r.top() + r.height() * 0.55);
        path.closeSubpath();
    }
    }
    return path;
}

} // namespace

QByteArray encodeJpeg(const QImage &image, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

LogoMaker::LogoMaker(QString fontFamily, bool pooled, quint64 seed)
    : m_family(std::move(fontFamily)), m_pooled(pooled), m_mix(seed * 0x9E3779B97F4A7C15ull)
{
}

QString LogoMaker::initials(const QString &name)
{
    QString result;
    for (const QString &word : name.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word[0].isLetterOrNumber())
            result += word[0];
        if (result.size() == 2)
            break;
    }
    return result.isEmpty() ? QStringLiteral("?") : result;
}

QByteArray LogoMaker::withComment(const QByteArray &jpeg, const QByteArray &comment)
{
    if (jpeg.size() < 2 || quint8(jpeg[0]) != 0xFF || quint8(jpeg[1]) != 0xD8)
        return jpeg;
    const QByteArray text = comment.left(65000);
    QByteArray segment;
    segment.append(char(0xFF)).append(char(0xFE));
    const int length = int(text.size()) + 2;
    segment.append(char(length >> 8)).append(char(length & 0xFF));
    segment.append(text);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

QByteArray LogoMaker::treeLogo(const ObjectRecord &o) { return logo(Tree, o); }
QByteArray LogoMaker::mapLogo(const ObjectRecord &o) { return logo(Map, o); }
QByteArray LogoMaker::advertIcon(const ObjectRecord &o) { return logo(Advert, o); }

QByteArray LogoMaker::logo(Kind kind, const ObjectRecord &o)
{
    const QString letters = initials(o.name);
    const int style = int((stableHash(o.name) ^ m_mix) % 1000);
    // A pooled logo depends on the first initial only; an own logo on the whole name.
    const QString poolLetters = letters.left(1);
    const QString key = QString::number(kind) + QLatin1Char('|')
        + (m_pooled ? poolLetters + QLatin1Char('|') + QString::number(style % 4) : o.name);
    auto it = m_cache.constFind(key);
    if (it == m_cache.cend()) {
        const QImage image = m_pooled ? draw(kind, poolLetters, QString(), int((stableHash(poolLetters) ^ m_mix) % 1000) + style % 4)
                                      : draw(kind, letters, o.name, style);
        // Pooled logos carry no name, so they are kept at a higher quality to weigh about as much.
        it = m_cache.insert(key, encodeJpeg(image, kind == Tree ? (m_pooled ? 95 : 82) : (m_pooled ? 98 : 94)));
    }
    if (!m_pooled)
        return *it;
    return withComment(*it, QByteArrayLiteral("Kvirzeta object ") + QByteArray::number(o.code));
}

QImage LogoMaker::draw(Kind kind, const QString &letters, const QString &name, int style) const
{
    const QColor colour = Palette[style % PaletteSize];
    const QSize size = kind == Tree ? QSize(150, 48) : kind == Map ? QSize(32, 32) : QSize(20, 20);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (kind == Advert) {
        // A document with a folded corner and a coloured band.
        QPainterPath page;
        page.moveTo(3, 1);
        page.lineTo(13, 1);
        page.lineTo(17, 5);
        page.lineTo(17, 18);
        page.lineTo(3, 18);
        page.closeSubpath();
        p.setPen(QPen(QColor(90, 90, 90), 1));
        p.setBrush(QColor(250, 250, 250));
        p.drawPath(page);
        p.fillRect(QRectF(3.5, 9, 13, 5), QColor(200, 30, 30));
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.drawLine(QPointF(5, 5), QPointF(11, 5));
        p.drawLine(QPointF(5, 16), QPointF(15, 16));
        return image;
    }
    const QRectF badge = kind == Tree ? QRectF(3, 3, 42, 42) : QRectF(1, 1, 30, 30);
    p.setPen(QPen(colour.darker(140), kind == Tree ? 2 : 1));
    p.setBrush(colour);
    p.drawPath(shapePath(style / PaletteSize, badge));
    QFont f(m_family);
    f.setBold(true);
    f.setPixelSize(kind == Tree ? (letters.size() > 1 ? 18 : 24) : (letters.size() > 1 ? 12 : 16));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(badge, Qt::AlignCenter, letters);
    if (kind == Tree) {
        const QRectF text(50, 4, 97, 40);
        if (name.isEmpty()) {
            // A pooled logo: a band in the badge's colour instead of the name.
            p.fillRect(QRectF(52, 14, 90, 6), colour);
            p.fillRect(QRectF(52, 26, 60, 6), colour.lighter(150));
        } else {
            QFont nameFont(m_family);
            nameFont.setPixelSize(12);
            nameFont.setBold(true);
            p.setFont(nameFont);
            p.setPen(colour.darker(150));
            const QFontMetricsF metrics(nameFont);
            // Two lines at most, the second elided.
            const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QString first, rest;
            for (const QString &w : words) {
                const QString candidate = first.isEmpty() ? w : first + QLatin1Char(' ') + w;
                if (rest.isEmpty() && metrics.horizontalAdvance(candidate) <= text.width())
                    first = candidate;
                else
                    rest += (rest.isEmpty() ? QString() : QStringLiteral(" ")) + w;
            }
            if (first.isEmpty())
                first = metrics.elidedText(name, Qt::ElideRight, text.width());
            rest = metrics.elidedText(rest, Qt::ElideRight, text.width());
            p.drawText(QRectF(text.left(), rest.isEmpty() ? 16 : 8, text.width(), 16), Qt::AlignLeft | Qt::AlignVCenter, first);
            if (!rest.isEmpty())
                p.drawText(QRectF(text.left(), 25, text.width(), 16), Qt::AlignLeft | Qt::AlignVCenter, rest);
        }
    }
    return image;
}

namespace MarkerIcons {

namespace {

// The colour of the bottom-left pixel is the one the program leaves out; nothing else uses it.
const QColor Transparent(255, 0, 255);

// Paints on a transparent canvas, then flattens: pixels at least half covered take their colour
// (blended over the map's light ground), the rest the transparent colour.
QImage flatten(const QImage &argb)
{
    QImage out(argb.size(), QImage::Format_RGB32);
    const QColor ground(247, 244, 237);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const QColor c = argb.pixelColor(x, y);
            if (c.alphaF() < 0.5) {
                out.setPixelColor(x, y, Transparent);
                continue;
            }
            const double a = c.alphaF();
            out.setPixelColor(x, y, QColor(int(c.red() * a + ground.red() * (1 - a)),
                                           int(c.green() * a + ground.green() * (1 - a)),
                                           int(c.blue() * a + ground.blue() * (1 - a))));
        }
    out.setPixelColor(0, out.height() - 1, Transparent);
    return out;
}

QImage canvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QImage dot(const QColor &fill)
{
    QImage image = canvas(QSize(16, 16));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fill.darker(170), 1.5));
    p.setBrush(fill);
    p.drawEllipse(QRectF(2, 2, 12, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawEllipse(QRectF(5, 4.5, 4, 3));
    p.end();
    return flatten(image);
}

QImage pin(const QColor &fill)
{
    QImage image = canvas(QSize(18, 24));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(9, 23);
    path.cubicTo(5, 16, 1.5, 12, 1.5, 8.5);
    path.arcTo(QRectF(1.5, 1, 15, 15), 180, -180);
    path.cubicTo(16.5, 12, 13, 16, 9, 23);
    p.setPen(QPen(fill.darker(170), 1.5));
    p.setBrush(fill);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(5.5, 5, 7, 7));
    p.end();
    return flatten(image);
}

QImage busStop(const QColor &fill)
{
    QImage image = canvas(QSize(18, 18));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(fill.darker(160), 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1, 1, 16, 16), 4, 4);
    // A bus seen from the front.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(5, 4, 8, 9), 1.5, 1.5);
    p.setBrush(fill);
    p.drawRect(QRectF(6, 5.5, 6, 3.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(5.5, 13, 2, 2));
    p.drawRect(QRectF(10.5, 13, 2, 2));
    p.end();
    return flatten(image);
}

} // namespace

QMap<QString, QImage> all()
{
    return {{QStringLiteral("yellow.bmp"), dot(QColor(250, 204, 20))},
            {QStringLiteral("Street.bmp"), pin(QColor(40, 110, 200))},
            {QStringLiteral("Active_ Street.bmp"), pin(QColor(220, 40, 40))},
            {QStringLiteral("Stop.bmp"), busStop(QColor(30, 140, 70))},
            {QStringLiteral("Active_Stop.bmp"), busStop(QColor(220, 40, 40))}};
}

} // namespace MarkerIcons
