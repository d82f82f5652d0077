#include "app/ProgramStyle.h"

#include "widgets/ToolBarImages.h"

QIcon ProgramStyle::standardIcon(StandardPixmap pixmap, const QStyleOption *option, const QWidget *widget) const
{
    switch (pixmap) {
    case SP_ToolBarHorizontalExtensionButton:
        return ToolBarImageList::extensionIcon(Qt::Horizontal);
    case SP_ToolBarVerticalExtensionButton:
        return ToolBarImageList::extensionIcon(Qt::Vertical);
    default:
        return QProxyStyle::standardIcon(pixmap, option, widget);
    }
}
