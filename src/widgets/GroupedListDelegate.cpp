#include "widgets/GroupedListDelegate.h"

#include "common/PlainText.h"
#include "data/GroupedListModel.h"
#include "widgets/GroupedListView.h"

#include <QAbstractItemView>
#include <QBuffer>
#include <QHelpEvent>
#include <QImageReader>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int PictureMargin = 1;
// A picture cell is at most this many times as tall as it is wide: a picture whose header claims
// 1 x 65,000 pixels must not make a row millions of pixels tall.
constexpr int MaxPictureAspect = 4;

bool looksLikeJpeg(const QByteArray &bytes)
{
    return bytes.size() > 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

bool isGroupRow(const QModelIndex &index)
{
    return index.data(GroupedListModel::GroupLevelRole).toInt() >= 0;
}

} // namespace

GroupedListDelegate::GroupedListDelegate(GroupedListView &view) : QStyledItemDelegate(&view), m_view(view)
{
    m_pictures.setMaxCost(CacheKilobytes);
}

void GroupedListDelegate::clearPictures()
{
    m_pictures.clear();
    m_sizes.clear();
    m_lineHeight = -1;
}

quint64 GroupedListDelegate::cacheKey(const QModelIndex &index) const
{
    const quint64 record = quint64(index.data(GroupedListModel::RecordRole).toInt());
    return (record << 16) | quint64(index.column());
}

QImage GroupedListDelegate::picture(const QModelIndex &index) const
{
    const quint64 key = cacheKey(index);
    if (const QImage *cached = m_pictures.object(key))
        return *cached;
    const QByteArray bytes = index.data(GroupedListModel::PictureRole).toByteArray();
    QImage image;
    if (looksLikeJpeg(bytes)) {
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer, "jpeg");
        image = reader.read();
        ++m_decodes;
    }
    m_pictures.insert(key, new QImage(image), int(image.sizeInBytes() / 1024) + 1);
    return image;
}

QSize GroupedListDelegate::pictureSize(const QModelIndex &index) const
{
    const quint64 key = cacheKey(index);
    const auto known = m_sizes.constFind(key);
    if (known != m_sizes.cend())
        return *known;
    QSize size;
    if (const QImage *cached = m_pictures.object(key)) {
        size = cached->size();
    } else {
        const QByteArray bytes = index.data(GroupedListModel::PictureRole).toByteArray();
        if (looksLikeJpeg(bytes)) {
            QBuffer buffer;
            buffer.setData(bytes);
            QImageReader reader(&buffer, "jpeg");
            size = reader.size();
        }
    }
    m_sizes.insert(key, size);
    return size;
}

QSize GroupedListDelegate::scaledPictureSize(const QModelIndex &index) const
{
    const QSize size = pictureSize(index);
    const int width = m_view.columnWidth(index.column()) - 2 * PictureMargin;
    if (size.isEmpty() || width <= 0)
        return {};
    const qint64 height = qint64(size.height()) * width / size.width();
    if (height <= qint64(width) * MaxPictureAspect)
        return {width, int(height)};
    return size.scaled(width, width * MaxPictureAspect, Qt::KeepAspectRatio);
}

void GroupedListDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const GroupedListView::Colours &colours = m_view.colours();
    const bool selected = option->state & QStyle::State_Selected;
    // Selection shows as a bold coloured font, not as a highlighted background.
    option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_MouseOver);
    option->backgroundBrush = isGroupRow(index) ? colours.groups : colours.rows;
    if (selected || index.data(GroupedListModel::BoldRole).toBool())
        option->font.setBold(true);
    if (selected) {
        option->palette.setColor(QPalette::Text, colours.selectedText);
        option->palette.setColor(QPalette::HighlightedText, colours.selectedText);
    }
    if (isGroupRow(index))
        option->features &= ~QStyleOptionViewItem::WrapText;
    else
        option->features |= QStyleOptionViewItem::WrapText;
    option->textElideMode = Qt::ElideRight;
}

void GroupedListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.data(GroupedListModel::IsPictureRole).toBool()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->fillRect(option.rect, isGroupRow(index) ? m_view.colours().groups : m_view.colours().rows);
    const QImage image = picture(index);
    if (image.isNull())
        return;
    const QRect area = option.rect.adjusted(PictureMargin, PictureMargin, -PictureMargin, -PictureMargin);
    if (area.width() <= 0 || area.height() <= 0)
        return;
    QSize size = image.size().scaled(area.width(), area.width() * MaxPictureAspect, Qt::KeepAspectRatio);
    if (size.height() > area.height())
        size = image.size().scaled(area.size(), Qt::KeepAspectRatio);
    const QRect target(QPoint(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2),
                       size);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(target, image);
    painter->restore();
}

QSize GroupedListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (index.data(GroupedListModel::IsPictureRole).toBool()) {
        const QSize size = scaledPictureSize(index);
        return size.isEmpty() ? QSize() : size + QSize(2 * PictureMargin, 2 * PictureMargin);
    }
    const bool wrapped = !isGroupRow(index) && m_view.rowsFitText();
    // One line is measured once: views ask for the heights of many rows at a time.
    if (!wrapped && m_lineHeight >= 0)
        return {0, m_lineHeight};
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // Measure wrapped text against the width the cell will have, or as one line.
    if (wrapped) {
        opt.rect = QRect(0, 0, std::max(1, m_view.columnWidth(index.column())), 1);
    } else {
        opt.features &= ~QStyleOptionViewItem::WrapText;
        opt.text = QStringLiteral("Xg");
        opt.font.setBold(true);
    }
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const QSize size = style->sizeFromContents(QStyle::CT_ItemViewItem, &opt, QSize(), widget);
    if (!wrapped)
        m_lineHeight = size.height();
    return {wrapped ? size.width() : 0, size.height()};
}

bool GroupedListDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                    const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString tip = index.isValid() ? index.data(Qt::ToolTipRole).toString() : QString();
    event->setAccepted(!tip.isEmpty());
    if (!tip.isEmpty())
        QToolTip::showText(event->globalPos(), PlainText::forAutoText(tip), view->viewport(), option.rect);
    return event->isAccepted();
}
