#pragma once
// Paints the cells of a GroupedListView: text cells wrapped and elided, the selected row in its
// own font colour and bold, and picture cells from JPEG blobs. A picture is decoded only when its
// row is painted or measured, and kept in a bounded cache until the list is rebuilt; bytes that
// are not a readable JPEG leave the cell empty.
#include <QCache>
#include <QHash>
#include <QImage>
#include <QStyledItemDelegate>

class GroupedListView;

class GroupedListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GroupedListDelegate(GroupedListView &view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // A cell's tooltip shows its text from the database as plain text.
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    // Forgets every decoded picture and measure (the list was rebuilt or restyled).
    void clearPictures();
    // How many pictures have been decoded since the view was made; tests use it.
    int decodeCount() const { return m_decodes; }
    // The cache holds at most this many kilobytes of decoded pictures.
    static constexpr int CacheKilobytes = 32 * 1024;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    // The decoded picture of a cell; a null image for a broken or missing one.
    QImage picture(const QModelIndex &index) const;
    // The picture's size as its header gives it, without decoding it when it is not cached.
    QSize pictureSize(const QModelIndex &index) const;
    // The picture scaled to the column's width, or less wide when it would be too tall.
    QSize scaledPictureSize(const QModelIndex &index) const;
    quint64 cacheKey(const QModelIndex &index) const;

    GroupedListView &m_view;
    mutable QCache<quint64, QImage> m_pictures;
    // Picture sizes outlive the decoded pictures: row heights are asked for far more often.
    mutable QHash<quint64, QSize> m_sizes;
    mutable int m_lineHeight = -1;
    mutable int m_decodes = 0;
};
