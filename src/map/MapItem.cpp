#include "map/MapItem.h"

#include "map/MapArea.h"

#include <QFontMetrics>
#include <QMenu>

MapItem::MapItem(MapArea &area, Type type, QString name, qint64 z)
    : m_area(area), m_type(type), m_name(std::move(name)),
      m_key(QStringView(m_name).mid(m_name.lastIndexOf(QLatin1Char('_')) + 1).toInt()), m_z(z)
{
}

void MapItem::setRect(const QRect &rect)
{
    if (rect == m_rect)
        return;
    m_rect = rect;
    m_area.contentChanged();
}

void MapItem::move(const QPoint &pos)
{
    setRect(QRect(pos, m_rect.size()));
}

void MapItem::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    m_area.contentChanged();
}

void MapItem::setHint(const QString &hint)
{
    m_hint = hint;
}

void MapItem::setCaption(const QString &caption)
{
    m_caption = caption;
    if (m_type == Type::Label)
        fitLabelToCaption();
    m_area.contentChanged();
}

void MapItem::fitLabelToCaption()
{
    const QFontMetrics metrics(m_area.labelFont());
    setRect(QRect(m_rect.topLeft(), QSize(metrics.horizontalAdvance(m_caption), metrics.height())));
}

void MapItem::setColour(const QColor &colour)
{
    m_colour = colour;
    m_area.contentChanged();
}

void MapItem::loadPicture(const QString &path)
{
    setPicture(m_area.pictures().load(path));
}

void MapItem::setPicture(const QImage &picture)
{
    m_picture = picture;
    if (m_type == Type::Picture)
        setRect(QRect(m_rect.topLeft(), m_picture.size()));
    m_area.contentChanged();
}

void MapItem::setContextMenu(QMenu *menu)
{
    m_menu = menu;
}

QMenu *MapItem::contextMenu() const
{
    return m_menu;
}

void MapItem::bringToFront()
{
    m_area.bringToFront(*this);
}

void MapItem::sendToBack()
{
    m_area.sendToBack(*this);
}
