#pragma once
// The application's widget style (the desktop's, or the one asked for with -style or
// QT_STYLE_OVERRIDE) with the program's pictures for the arrows of the tool bar's and the menu
// bar's button for items that do not fit. The standard arrows are picture files, and reading the
// first of them loads every image format plug-in on the system, which held up the start by
// several milliseconds for a button that is rarely seen.
#include <QProxyStyle>

class ProgramStyle : public QProxyStyle {
    Q_OBJECT
public:
    // `baseStyle` names the style everything else is left to, as QStyleFactory knows it.
    explicit ProgramStyle(const QString &baseStyle) : QProxyStyle(baseStyle) {}

    QIcon standardIcon(StandardPixmap pixmap, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
