#pragma once
// The desktop's own widget style with the program's pictures for the arrows of the tool bar's and
// the menu bar's button for items that do not fit. The standard arrows are picture files, and
// reading the first of them loads every image format plug-in on the system, which held up the
// start by several milliseconds for a button that is rarely seen.
#include <QProxyStyle>

class ProgramStyle : public QProxyStyle {
    Q_OBJECT
public:
    QIcon standardIcon(StandardPixmap pixmap, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
