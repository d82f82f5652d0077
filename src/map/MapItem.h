#pragma once
// One picture or caption label drawn on the map area: the building block of a marker.
//
// Items are light objects owned and painted by the MapArea (there may be tens of thousands);
// they are made with MapArea::createItem() under a name unique on the map area and live until
// MapArea::destroyItem()/destroyItems() removes them, which frees the name. A MapItem pointer
// held by a marker list stays valid exactly as long as the item is in that list.
//
// Positions are in the map area's content (the map image's corner is at (1, 1)), independent of
// where the view is scrolled.
#include <QColor>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>

class MapArea;
class QMenu;

class MapItem {
public:
    enum class Type { Picture, Label };

    MapItem(const MapItem &) = delete;
    MapItem &operator=(const MapItem &) = delete;

    Type type() const { return m_type; }
    const QString &name() const { return m_name; }
    // The record key carried in the name: the number after the last "_" ("Obj_12", "Lb_12" and
    // "Lb_Stp_12" give 12); 0 when the name carries none.
    int key() const { return m_key; }

    int left() const { return m_rect.left(); }
    int top() const { return m_rect.top(); }
    QPoint pos() const { return m_rect.topLeft(); }
    void move(const QPoint &pos);
    int width() const { return m_rect.width(); }
    int height() const { return m_rect.height(); }
    QRect geometry() const { return m_rect; }

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);

    // Tooltip text shown while the pointer rests on the item.
    const QString &hint() const { return m_hint; }
    void setHint(const QString &hint);

    // Labels: the caption drawn on a rectangle of the colour, sized to the text.
    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    QColor colour() const { return m_colour; }
    void setColour(const QColor &colour);

    // Pictures: loads the picture file (case-insensitive program path; decoded files are
    // cached) and takes its size. Throws Error when the file cannot be read; the item keeps its
    // old picture then.
    void loadPicture(const QString &path);
    // Takes a picture decoded elsewhere, and its size.
    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

    // Menu shown on a right click on the item; without one, the map area's menu is shown.
    void setContextMenu(QMenu *menu);
    QMenu *contextMenu() const;
    // Run when the item is double-clicked (through the map area's command runner).
    void setDoubleClickHandler(std::function<void()> handler) { m_doubleClick = std::move(handler); }
    const std::function<void()> &doubleClickHandler() const { return m_doubleClick; }

    // Stacking among the items: above or below every other item. The map image always lies
    // below every item.
    void bringToFront();
    void sendToBack();
    qint64 stackOrder() const { return m_z; }

private:
    friend class MapArea;
    MapItem(MapArea &area, Type type, QString name, qint64 z);
    void setRect(const QRect &rect);
    void fitLabelToCaption();

    MapArea &m_area;
    Type m_type;
    QString m_name;
    int m_key;
    QRect m_rect;
    bool m_visible = true;
    QString m_hint;
    QString m_caption;
    QColor m_colour = Qt::white;
    QImage m_picture;
    QPointer<QMenu> m_menu;
    std::function<void()> m_doubleClick;
    qint64 m_z;
    size_t m_index = 0; // place in the map area's item store
};
