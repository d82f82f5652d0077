#include "dialogs/WebLink.h"

#include "platform/Desktop.h"
#include "platform/DisplayFont.h"
#include "widgets/ActiveLabel.h"

ActiveLabel *makeWebLink(QWidget *parent, const QString &address, const QPoint &position, int pixelSize,
                         const QColor &colour, Desktop &desktop)
{
    auto *link = new ActiveLabel(address, parent);
    link->setFont(DisplayFont::arial(pixelSize));
    link->setColour(colour);
    link->setUnderlineOnHover(true);
    link->setLinkCursor(true);
    link->move(position);
    link->adjustSize();
    QObject::connect(link, &ActiveLabel::clicked, link, [&desktop, address] { desktop.openLink(address); });
    return link;
}
