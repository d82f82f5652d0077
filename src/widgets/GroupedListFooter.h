#pragma once
// A footer strip for a GroupedListView, placed under it in a layout: the background colour of
// the list and, when asked, the number of records of the list's data set written under one of
// its columns.
#include <QPointer>
#include <QWidget>

class GroupedListView;

class GroupedListFooter : public QWidget {
    Q_OBJECT
public:
    explicit GroupedListFooter(GroupedListView &view, QWidget *parent = nullptr);

    // Shows the count under the list's column of this field; an empty field (the default) or
    // one the list does not show leaves the footer blank.
    void setCountUnder(const QString &field);
    // The text the footer shows now.
    QString text() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int countColumn() const;

    QPointer<GroupedListView> m_view;
    QString m_field;
};
