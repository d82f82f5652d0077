#include "FakePrompts.h"
#include "MapTestCity.h"
#include "common/Errors.h"
#include "common/MainState.h"
#include "map/BitmapDecoder.h"
#include "map/JpegDecoder.h"
#include "map/MapArea.h"
#include "map/MapSwitcher.h"
#include "map/MarkerLayer.h"
#include "map/SheetGrid.h"
#include "platform/PrivateTempDirectory.h"
#include "widgets/ZoomSpinBox.h"

#include <QBuffer>
#include <QtEndian>
#include <cstring>
#include <QMenu>
#include <QtTest>

namespace {

const QString yellow = QStringLiteral(".\\pictures\\icons\\yellow.bmp");
const QString stopIcon = QStringLiteral(".\\Pictures\\Icons\\Stop.bmp");
const QString streetIcon = QStringLiteral(".\\pictures\\icons\\Street.bmp");

MarkerSpec recipe(MarkerKind kind, int key, QPoint pos = {100, 100}, QString icon = {})
{
    MarkerSpec s;
    s.kind = kind;
    s.key = key;
    s.name = QStringLiteral("record %1").arg(key);
    s.pos = pos;
    s.iconPath = icon.isEmpty() ? (kind == MarkerKind::Stop ? stopIcon : kind == MarkerKind::Street ? streetIcon : yellow)
                                : icon;
    s.labelColour = MarkerLayer::Cream;
    return s;
}

QByteArray jpegLogo(const QColor &colour)
{
    QImage image(24, 12, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// The map engine with the test city, shown on the general map.
struct Rig {
    MapTestCity city;
    FakePrompts prompts;
    MainState state;
    MapArea area;
    ZoomSpinBox zoom;
    MapSwitcher switcher{state, area, zoom};
    MarkerLayer markers{city.dm, area};
    QMenu menu;

    Rig()
    {
        area.setContextMenu(&menu);
        switcher.LoadGeneralMap();
    }
    // The map shown at a zoom, for a base size.
    SheetGrid::Viewport at(int zoom, int width, int height) const { return {zoom, width, height, state.CurrentMapName}; }
};

} // namespace

class TestMarkers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void markersOfEachKind()
    {
        Rig rig;
        int clicks = 0;
        MarkerSpec object = recipe(MarkerKind::Object, 12, {300, 200});
        object.labelColour = MarkerLayer::SkyBlue;
        object.onDoubleClick = [&] { ++clicks; };
        const Marker *made = rig.markers.addMarker(object);
        QVERIFY(made);
        QCOMPARE(made->picture->name(), QStringLiteral("Obj_12"));
        QCOMPARE(made->picture->key(), 12);
        QCOMPARE(made->picture->geometry(), QRect(300, 200, 16, 16));
        QCOMPARE(made->picture->hint(), QStringLiteral("record 12"));
        QCOMPARE(made->picture->contextMenu(), &rig.menu);
        QVERIFY(made->picture->doubleClickHandler());
        made->picture->doubleClickHandler()();
        QCOMPARE(clicks, 1);
        QCOMPARE(made->label->name(), QStringLiteral("Lb_12"));
        QCOMPARE(made->label->key(), 12);
        QCOMPARE(made->label->pos(), QPoint(300, 190));
        QCOMPARE(made->label->caption(), QStringLiteral("record 12"));
        QCOMPARE(made->label->hint(), QStringLiteral("record 12"));
        QCOMPARE(made->label->colour(), QColor(166, 202, 240));
        QVERIFY(made->label->isVisible());
        QVERIFY(made->label->width() > 0 && made->label->height() > 0);

        MarkerSpec stop = recipe(MarkerKind::Stop, 21);
        stop.labelVisible = false;
        stop.onDoubleClick = [&] { ++clicks; };
        made = rig.markers.addMarker(stop);
        QVERIFY(made);
        QCOMPARE(made->picture->name(), QStringLiteral("Stp_21"));
        QCOMPARE(made->picture->contextMenu(), nullptr);
        QVERIFY(!made->picture->doubleClickHandler());
        QVERIFY(!made->label->isVisible());
        QCOMPARE(made->label->colour(), QColor(255, 251, 240));
        QCOMPARE(made->label->name(), QStringLiteral("Lb_Stp_21"));
        QCOMPARE(made->label->key(), 21);

        made = rig.markers.addMarker(recipe(MarkerKind::Street, 107));
        QVERIFY(made);
        QCOMPARE(made->picture->name(), QStringLiteral("Str_107"));
        QCOMPARE(made->label, nullptr);
        QCOMPARE(made->picture->contextMenu(), &rig.menu);

        QCOMPARE(rig.markers.ObjectMarkers().count(), 1);
        QCOMPARE(rig.markers.StopMarkers().count(), 1);
        QCOMPARE(rig.markers.StreetMarkers().count(), 1);
        QCOMPARE(rig.area.itemCount(), 5);
        // Logo markers only go through showLogoMarker.
        QCOMPARE(rig.markers.addMarker(recipe(MarkerKind::Logo, 30)), nullptr);
        QCOMPARE(rig.area.itemCount(), 5);
    }

    void bitmapsDropTheirBottomLeftColour()
    {
        Rig rig;
        const Marker *made = rig.markers.addMarker(recipe(MarkerKind::Object, 12));
        const QImage &picture = made->picture->picture();
        QCOMPARE(qAlpha(picture.pixel(0, 15)), 0);
        QCOMPARE(qAlpha(picture.pixel(15, 0)), 0);
        QCOMPARE(picture.pixelColor(8, 8), QColor(255, 220, 0));
        // Replacing the icon keeps the place and takes the new picture's look.
        made->picture->loadPicture(QStringLiteral(".\\Pictures\\Icons\\Active_ Street.bmp"));
        QCOMPARE(made->picture->geometry(), QRect(100, 100, 12, 12));
        QCOMPARE(made->picture->picture().pixelColor(6, 6), QColor(200, 0, 0));
    }

    void takenNamesRefuseTheWholeMarker()
    {
        Rig rig;
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Object, 12)));
        const int items = rig.area.itemCount();
        // Stop 12 and object 12 are both labelled: their label names differ.
        const Marker *stop = rig.markers.addMarker(recipe(MarkerKind::Stop, 12));
        QVERIFY(stop);
        QCOMPARE(stop->label->name(), QStringLiteral("Lb_Stp_12"));
        QCOMPARE(rig.markers.addMarker(recipe(MarkerKind::Stop, 12)), nullptr);
        QCOMPARE(rig.markers.StopMarkers().count(), 1);
        rig.markers.ClearStopMarkers();
        // The same record twice.
        QCOMPARE(rig.markers.addMarker(recipe(MarkerKind::Object, 12)), nullptr);
        QCOMPARE(rig.markers.ObjectMarkers().count(), 1);
        QCOMPARE(rig.area.itemCount(), items);
        // A street has no label, so street 12 can coexist.
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Street, 12)));
        QCOMPARE(rig.markers.addMarker(recipe(MarkerKind::Street, 12)), nullptr);
        QCOMPARE(rig.markers.StreetMarkers().count(), 1);

        // The object's logo cannot coexist with its own marker; the mark stays 0.
        MarkerSpec logo = recipe(MarkerKind::Logo, 12);
        logo.mapLogo = jpegLogo(Qt::red);
        QVERIFY(!rig.markers.showLogoMarker(logo, 12));
        QCOMPARE(rig.markers.LogoMarker().shown, 0);
        QCOMPARE(rig.area.itemCount(), items + 1);
        // Freed names can be used again.
        rig.markers.ClearObjectMarkers();
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Object, 12)));
    }

    void pictureFailuresLeaveNothing()
    {
        Rig rig;
        QCOMPARE(rig.markers.addMarker(recipe(MarkerKind::Object, 1, {0, 0}, QStringLiteral(".\\pictures\\icons\\none.bmp"))),
                 nullptr);
        MarkerSpec broken = recipe(MarkerKind::Object, 2);
        broken.mapLogo = QByteArray("not a jpeg");
        QCOMPARE(rig.markers.addMarker(broken), nullptr);
        MarkerSpec empty = recipe(MarkerKind::Object, 3);
        empty.mapLogo = QByteArray();
        QCOMPARE(rig.markers.addMarker(empty), nullptr);

        // The temporary directory is unavailable.
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", "/nonexistent/kvirzeta");
        MarkerSpec logo = recipe(MarkerKind::Object, 4);
        logo.mapLogo = jpegLogo(Qt::blue);
        QCOMPARE(rig.markers.addMarker(logo), nullptr);
        qputenv("TMPDIR", saved);
        QCOMPARE(rig.area.itemCount(), 0);
        QCOMPARE(rig.markers.ObjectMarkers().count(), 0);
    }

    void mapLogosGoThroughTheTemporaryFile()
    {
        Rig rig;
        QTemporaryDir temp;
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", temp.path().toLocal8Bit());
        MarkerSpec first = recipe(MarkerKind::Object, 12);
        // Bytes after the picture's end are ignored; they make the first file the longer one.
        first.mapLogo = jpegLogo(Qt::red) + QByteArray(4096, 'x');
        const Marker *made = rig.markers.addMarker(first);
        QVERIFY(made);
        QCOMPARE(made->picture->geometry().size(), QSize(24, 12));
        // Every logo overwrites the file; the second marker shows its own picture.
        MarkerSpec second = recipe(MarkerKind::Object, 13);
        second.mapLogo = jpegLogo(Qt::blue);
        const Marker *other = rig.markers.addMarker(second);
        const QString logoFile = privateTempDirectory() + QStringLiteral("ForMap.jpg");
        qputenv("TMPDIR", saved);
        QVERIFY(other);
        // In the program's own folder inside the temporary directory.
        QCOMPARE(QFileInfo(QFileInfo(logoFile).absolutePath()).absolutePath(), temp.path());
        QCOMPARE(QImage(logoFile).size(), QSize(24, 12));
        QFile file(logoFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), *second.mapLogo); // nothing of the longer first file is left
        QVERIFY(qRed(made->picture->picture().pixel(12, 6)) > 200);
        QVERIFY(qBlue(other->picture->picture().pixel(12, 6)) > 200);
        QCOMPARE(qAlpha(other->picture->picture().pixel(0, 11)), 255); // JPEGs stay opaque
    }

    void bitmapsDecodeAsQtDecodesThem()
    {
        // An odd width pads every row; a picture over 4 MB takes the large-picture memory.
        for (const QSize size : {QSize(37, 21), QSize(1201, 1000)}) {
            QImage colours(size, QImage::Format_RGB32);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    colours.setPixel(x, y, qRgb(x % 256, y % 256, (x * 7 + y) % 256));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(colours.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"));
            QCOMPARE(bytes.mid(28, 2), QByteArray("\x18\x00", 2)); // 24 bits per pixel
            // The same rows stored top-down: a negative height.
            QByteArray topDown = bytes;
            const qint32 height = -size.height();
            memcpy(topDown.data() + 22, &height, 4);
            const qsizetype offset = qFromLittleEndian<quint32>(bytes.constData() + 10);
            const qsizetype row = (size.width() * 3 + 3) & ~3;
            for (int y = 0; y < size.height(); ++y)
                memcpy(topDown.data() + offset + y * row, bytes.constData() + offset + (size.height() - 1 - y) * row, row);

            for (const QByteArray &data : {bytes, topDown}) {
                QBuffer input;
                input.setData(data);
                input.open(QIODevice::ReadOnly);
                const QImage ours = BitmapDecoder::decode(input);
                QCOMPARE(ours.format(), QImage::Format_RGB32);
                QVERIFY(ours == colours);
                QImage copy = ours;
                copy.setPixel(0, 0, qRgb(1, 2, 3));
                QCOMPARE(ours.pixel(0, 0), colours.pixel(0, 0)); // a changed copy leaves the original
            }
            // Cut short: left to Qt's reader, which refuses it as before.
            QBuffer cut;
            cut.setData(bytes.left(bytes.size() - row));
            cut.open(QIODevice::ReadOnly);
            QVERIFY(BitmapDecoder::decode(cut).isNull());
        }
        // Other bitmaps (here 8-bit) are left to Qt's reader, which still decodes them.
        QImage grey(40, 30, QImage::Format_Indexed8);
        grey.setColorCount(256);
        for (int i = 0; i < 256; ++i)
            grey.setColor(i, qRgb(i, i, i));
        grey.fill(200);
        QByteArray indexed;
        QBuffer indexedBuffer(&indexed);
        indexedBuffer.open(QIODevice::WriteOnly);
        QVERIFY(grey.save(&indexedBuffer, "BMP"));
        indexedBuffer.close();
        indexedBuffer.open(QIODevice::ReadOnly);
        QVERIFY(BitmapDecoder::decode(indexedBuffer).isNull());
        QCOMPARE(PictureCache::decodeContent(indexed, QStringLiteral("grey.bmp")).size(), grey.size());
    }

    void jpegsDecodeAsQtDecodesThem()
    {
        QImage colours(64, 48, QImage::Format_RGB32);
        for (int y = 0; y < colours.height(); ++y)
            for (int x = 0; x < colours.width(); ++x)
                colours.setPixel(x, y, qRgb(x * 4, y * 5, 255 - x * 2));
        for (const QImage &source : {colours, colours.convertToFormat(QImage::Format_Grayscale8)}) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(source.save(&buffer, "JPEG", 95));
            const QImage ours = JpegDecoder::decode(bytes);
            const QImage qts = QImage::fromData(bytes, "JPEG").convertToFormat(QImage::Format_RGB32);
            QCOMPARE(ours.format(), QImage::Format_RGB32);
            QCOMPARE(ours.size(), source.size());
            for (const QPoint p : {QPoint(0, 0), QPoint(63, 0), QPoint(31, 23), QPoint(0, 47), QPoint(63, 47)}) {
                const QRgb a = ours.pixel(p), b = qts.pixel(p);
                QCOMPARE(qAlpha(a), 255);
                QVERIFY2(std::abs(qRed(a) - qRed(b)) <= 4 && std::abs(qGreen(a) - qGreen(b)) <= 4
                             && std::abs(qBlue(a) - qBlue(b)) <= 4,
                         qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
            }
        }
        // Not a JPEG, or a broken one: a null image, and the process goes on.
        QVERIFY(JpegDecoder::decode(QByteArray("\x89PNG\r\n\x1a\n")).isNull());
        QVERIFY(JpegDecoder::decode(QByteArray("\xff\xd8\xff\xe0 broken header")).isNull());
        QVERIFY(JpegDecoder::decode(QByteArray()).isNull());
        // A header claiming 60000 x 60000 pixels makes nothing rather than 14 GB of rows.
        QByteArray huge = jpegLogo(Qt::red);
        const int frame = int(huge.indexOf(QByteArray("\xff\xc0", 2)));
        QVERIFY(frame > 0);
        for (int at : {frame + 5, frame + 7}) {
            huge[at] = char(0xea);
            huge[at + 1] = char(0x60);
        }
        QVERIFY(JpegDecoder::decode(huge).isNull());
        QVERIFY_THROWS_EXCEPTION(Error, PictureCache::decodeContent(huge, QStringLiteral("huge.jpg")));
        // Other formats still decode through Qt.
        QByteArray png;
        QBuffer pngBuffer(&png);
        pngBuffer.open(QIODevice::WriteOnly);
        QVERIFY(colours.save(&pngBuffer, "PNG"));
        QCOMPARE(PictureCache::decodeContent(png, QStringLiteral("logo.png")).pixel(10, 10), colours.pixel(10, 10));
    }

    void logoMarkerIsReplacedAndCleared()
    {
        Rig rig;
        MarkerSpec logo = recipe(MarkerKind::Logo, 14);
        logo.mapLogo = jpegLogo(Qt::red);
        QVERIFY(rig.markers.showLogoMarker(logo, 14));
        QCOMPARE(rig.markers.LogoMarker().shown, 14);
        QCOMPARE(rig.markers.LogoMarker().marker.picture->name(), QStringLiteral("Obj_14"));
        logo.key = 13;
        QVERIFY(rig.markers.showLogoMarker(logo, 13));
        QCOMPARE(rig.area.itemCount(), 2);
        QCOMPARE(rig.area.findItem(QStringLiteral("Obj_14")), nullptr);
        // A failed replacement leaves no logo at all.
        logo.mapLogo = QByteArray("broken");
        QVERIFY(!rig.markers.showLogoMarker(logo, 13));
        QCOMPARE(rig.markers.LogoMarker().shown, 0);
        QCOMPARE(rig.area.itemCount(), 0);
    }

    void clearingEachList()
    {
        Rig rig;
        MarkerSpec logo = recipe(MarkerKind::Logo, 14);
        logo.mapLogo = jpegLogo(Qt::red);
        QVERIFY(rig.markers.showLogoMarker(logo, 14));
        for (int key : {12, 13})
            QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Object, key)));
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Street, 107)));
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Stop, 21)));

        rig.markers.ClearObjectMarkers();
        QCOMPARE(rig.markers.ObjectMarkers().count(), 0);
        QCOMPARE(rig.markers.LogoMarker().shown, 0);
        QCOMPARE(rig.markers.LogoMarker().marker.picture, nullptr);
        QCOMPARE(rig.area.itemCount(), 3);
        rig.markers.ClearObjectMarkers();
        QCOMPARE(rig.area.itemCount(), 3);
        rig.markers.ClearStopMarkers();
        QCOMPARE(rig.area.itemCount(), 1);
        QCOMPARE(rig.area.findItem(QStringLiteral("Lb_21")), nullptr);
        rig.markers.ClearStreetMarkers();
        QCOMPARE(rig.area.itemCount(), 0);
        QVERIFY(rig.markers.StreetMarkers().isEmpty());
    }

    void listsRefuseMarkersBeyondTheirCapacity()
    {
        Rig rig;
        for (int key = 1; key <= MarkerList::Capacity; ++key)
            QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Street, key, {key % 2000, key % 1500})));
        QVERIFY(rig.markers.StreetMarkers().isFull());
        QCOMPARE(rig.markers.addMarker(recipe(MarkerKind::Street, 20000)), nullptr);
        QCOMPARE(rig.markers.StreetMarkers().count(), MarkerList::Capacity);
        QCOMPARE(rig.area.itemCount(), MarkerList::Capacity);
        QCOMPARE(rig.area.findItem(QStringLiteral("Str_20000")), nullptr);
        // Other lists have their own capacity.
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Stop, 21)));
        rig.markers.ClearStreetMarkers();
        QVERIFY(rig.markers.addMarker(recipe(MarkerKind::Street, 20000)));
    }

    void repositionOnTheGeneralMap()
    {
        Rig rig;
        rig.city.dm.Qr.setSql(QStringLiteral("SELECT 1"));
        rig.markers.RepositionObjectMarkers(rig.at(150, 2000, 1500));
        QCOMPARE(rig.city.dm.Qr.sql(), QStringLiteral("SELECT 1"));
        // No object marker to move: the table of every object is not read for nothing.
        QVERIFY(!rig.city.dm.obieqtiQr.isOpen());
        // Qr holds the street, then the stop query, even with no markers to move.
        rig.markers.RepositionStreetMarkers(rig.at(150, 2000, 1500));
        QCOMPARE(rig.city.dm.Qr.sql(), QStringLiteral("SELECT * FROM quCa"));
        rig.markers.RepositionStopMarkers(rig.at(150, 2000, 1500));
        QCOMPARE(rig.city.dm.Qr.sql(), QStringLiteral("SELECT * FROM gaCereba"));

        const Marker *object = rig.markers.addMarker(recipe(MarkerKind::Object, 14));
        const Marker *street = rig.markers.addMarker(recipe(MarkerKind::Street, 107));
        const Marker *stop = rig.markers.addMarker(recipe(MarkerKind::Stop, 12));
        const Marker *blank = rig.markers.addMarker(recipe(MarkerKind::Stop, 13));
        MarkerSpec logoSpec = recipe(MarkerKind::Logo, 30, {5, 5});
        logoSpec.mapLogo = jpegLogo(Qt::red);
        QVERIFY(rig.markers.showLogoMarker(logoSpec, 30));
        for (int zoom : {150, 25, 200}) {
            rig.markers.RepositionObjectMarkers(rig.at(zoom, 2000, 1500));
            rig.markers.RepositionStreetMarkers(rig.at(zoom, 2000, 1500));
            rig.markers.RepositionStopMarkers(rig.at(zoom, 2000, 1500));
            const auto general = [&](const QString &code, double x, double y) {
                return rig.at(zoom, 2000, 1500).generalPixel(code, x, y);
            };
            QCOMPARE(object->picture->pos(), general(QStringLiteral("F5"), 50, 50));
            QCOMPARE(street->picture->pos(), general(QStringLiteral("B2"), 20, 30));
            QCOMPARE(stop->picture->pos(), general(QStringLiteral("B2"), 40, 60));
            // A stop with an empty x sits where the route command puts it: x read as 0.
            QCOMPARE(blank->picture->pos(), general(QStringLiteral("B2"), 0, 10));
            for (const Marker *m : {object, stop, blank})
                QCOMPARE(m->label->pos(), m->picture->pos() - QPoint(0, 10));
        }
        QCOMPARE(object->picture->pos(), QPoint(3268, 2700));
        QCOMPARE(rig.markers.LogoMarker().marker.picture->pos(), QPoint(5, 5));
        QCOMPARE(rig.markers.LogoMarker().marker.label->pos(), QPoint(5, -5));
        QVERIFY(rig.prompts.messages.isEmpty());
    }

    void repositionOnASheetMovesOnlyItsMarkers()
    {
        Rig rig;
        rig.switcher.SwitchToSheet(QStringLiteral("B2"));
        const Marker *here = rig.markers.addMarker(recipe(MarkerKind::Object, 12, {1, 1}));
        const Marker *there = rig.markers.addMarker(recipe(MarkerKind::Object, 13, {40, 50}));
        there->picture->setVisible(false);
        there->label->setVisible(false);
        const Marker *stop = rig.markers.addMarker(recipe(MarkerKind::Stop, 21, {60, 70}));
        const Marker *street = rig.markers.addMarker(recipe(MarkerKind::Street, 107, {0, 0}));

        rig.markers.RepositionObjectMarkers(rig.at(125, 1200, 900));
        rig.markers.RepositionStreetMarkers(rig.at(125, 1200, 900));
        rig.markers.RepositionStopMarkers(rig.at(125, 1200, 900));
        QCOMPARE(here->picture->pos(), QPoint(562, 562));
        QCOMPARE(here->label->pos(), QPoint(562, 552));
        QCOMPARE(street->picture->pos(), QPoint(300, 338)); // 20 %, 30 % of 1500 x 1125
        QCOMPARE(there->picture->pos(), QPoint(40, 50));
        QVERIFY(!there->picture->isVisible());
        QCOMPARE(stop->picture->pos(), QPoint(60, 70));
        QCOMPARE(stop->label->pos(), QPoint(60, 60));
        QVERIFY(rig.prompts.messages.isEmpty());
    }

    void repositionEdgeCases()
    {
        Rig rig;
        // Object 16 has the unknown code "Z9", and the record of object 99 is gone: both markers
        // keep their places, and nothing is told.
        const Marker *unknown = rig.markers.addMarker(recipe(MarkerKind::Object, 16, {60, 70}));
        const Marker *gone = rig.markers.addMarker(recipe(MarkerKind::Object, 99, {70, 80}));
        rig.markers.RepositionObjectMarkers(rig.at(100, 2000, 1500));
        QVERIFY(rig.prompts.messages.isEmpty());
        QCOMPARE(unknown->picture->pos(), QPoint(60, 70));
        QCOMPARE(gone->picture->pos(), QPoint(70, 80));
        // The object data set is opened when closed and its current record is not moved.
        rig.city.dm.obieqtiQr.open();
        rig.city.dm.obieqtiQr.setCurrentRow(2);
        rig.markers.RepositionObjectMarkers(rig.at(100, 2000, 1500));
        QCOMPARE(rig.city.dm.obieqtiQr.currentRow(), 2);
    }

    void stackingAndHitTesting()
    {
        Rig rig;
        MarkerSpec first = recipe(MarkerKind::Object, 12, {100, 100});
        first.labelVisible = false;
        MarkerSpec second = recipe(MarkerKind::Object, 13, {108, 108});
        second.labelVisible = false;
        const Marker *a = rig.markers.addMarker(first);
        const Marker *b = rig.markers.addMarker(second);
        const QPoint overlap(110, 110);
        QCOMPARE(rig.area.itemAt(overlap), b->picture);
        a->picture->bringToFront();
        QCOMPARE(rig.area.itemAt(overlap), a->picture);
        a->picture->sendToBack();
        QCOMPARE(rig.area.itemAt(overlap), b->picture);
        b->picture->setVisible(false);
        QCOMPARE(rig.area.itemAt(overlap), a->picture);
        // Off every item, the image is hit; outside it, the free space.
        QVERIFY(rig.area.isOnImage(QPoint(500, 500)));
        QVERIFY(!rig.area.isOnImage(overlap));
        QVERIFY(!rig.area.isOnImage(QPoint(0, 500)));
        QVERIFY(!rig.area.isOnImage(QPoint(2001, 10)));
        // A destroyed item's name is free and a stale pointer is ignored.
        MapItem *stale = a->picture;
        rig.markers.ClearObjectMarkers();
        rig.area.destroyItem(stale);
        QCOMPARE(rig.area.itemCount(), 0);
    }
};

QTEST_MAIN(TestMarkers)
#include "tst_markers.moc"
