#pragma once
// The pictures of the demo city: the objects' JPEG logos and the marker icons.
#include "citykit/City.h"

#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QString>

// Logos show a name's initials on a coloured shape. A small city draws each object's own; a large
// one reuses a few encoded logos per initial, each copy made distinct by a JPEG comment naming
// its object, so that no two blobs are equal yet only a handful of JPEGs is ever encoded.
class LogoMaker {
public:
    // The seed varies the colours and shapes; 0 gives the demo city's own.
    LogoMaker(QString fontFamily, bool pooled, quint64 seed = 0);

    QByteArray treeLogo(const ObjectRecord &o);
    QByteArray mapLogo(const ObjectRecord &o);
    QByteArray advertIcon(const ObjectRecord &o);

    static QString initials(const QString &name);
    // A JPEG with a comment segment placed right after its start-of-image marker.
    static QByteArray withComment(const QByteArray &jpeg, const QByteArray &comment);

private:
    enum Kind { Tree, Map, Advert };
    QByteArray logo(Kind kind, const ObjectRecord &o);
    QImage draw(Kind kind, const QString &initials, const QString &name, int style) const;

    QString m_family;
    bool m_pooled;
    quint64 m_mix;
    QMap<QString, QByteArray> m_cache;
};

QByteArray encodeJpeg(const QImage &image, int quality);

// Marker icons as bitmaps whose bottom-left pixel holds the colour that is not drawn.
namespace MarkerIcons {
// File name -> picture.
QMap<QString, QImage> all();
}
