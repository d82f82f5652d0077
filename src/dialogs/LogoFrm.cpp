#include "dialogs/LogoFrm.h"

#include "dialogs/CityPictures.h"
#include "dialogs/ProductInfo.h"
#include "dialogs/WebLink.h"
#include "platform/DisplayFont.h"
#include "widgets/ActiveLabel.h"
#include "widgets/TextLine.h"

#include <QEventLoop>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

const QColor Background(240, 251, 255);
const QColor LinkColour(0, 70, 160);
const QColor TextColour(0, 60, 100);

// A line in the bold display font of `pixelSize`; the parts marked Latin are set in Arial.
void textLine(QWidget *parent, const QList<std::pair<QString, bool>> &parts, const QPoint &position, int pixelSize)
{
    QList<TextLine::Run> runs;
    for (const auto &[text, latin] : parts)
        runs.append({text, latin ? DisplayFont::arial(pixelSize, true) : DisplayFont::font(pixelSize, true)});
    auto *line = new TextLine(runs, TextColour, parent);
    line->setGeometry(position.x(), position.y(), parent->width() - position.x(), pixelSize * 3 / 2);
}

} // namespace

TLogoFrm::TLogoFrm(Desktop &desktop, QWidget *parent, int durationMs)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), m_client(new QWidget(this)), Timer(new QTimer(this))
{
    setWindowTitle(QStringLiteral("Kvirzeta"));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Background);
    setPalette(pal);
    setAutoFillBackground(true);
    setFont(DisplayFont::font(13, true));
    setFixedSize(ClientWidth + 2 * Border, ClientHeight + 2 * Border);
    m_client->setGeometry(Border, Border, ClientWidth, ClientHeight);

    buildUpperArea(desktop);
    buildLowerArea(desktop);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer->setObjectName(QStringLiteral("Timer"));
    Timer->setInterval(durationMs);
    connect(Timer, &QTimer::timeout, this, [this] {
        Timer->stop();
        accept();
    });
    Timer->start();
}

void TLogoFrm::showModal()
{
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
}

void TLogoFrm::buildUpperArea(Desktop &desktop)
{
    auto *frame = new QFrame(m_client);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setGeometry(0, 0, ClientWidth, 280);

    struct Half {
        CityPicture top, bottom;
        const char *topLink, *bottomLink;
    };
    const Half halves[] = {
        {CityPicture::OldTown, CityPicture::River, "www.kvirzeta.example/places", "www.kvirzeta.example/streets"},
        {CityPicture::CableCar, CityPicture::Fortress, "www.kvirzeta.example/transport", "www.kvirzeta.example/maps"},
    };
    const int halfWidth = ClientWidth / 2;
    for (int i = 0; i < 2; ++i) {
        const int x = i * halfWidth + 3;
        const int w = halfWidth - 6;
        const QRect top(x, 3, w, 135);
        const QRect bottom(x, 142, w, 135);
        new CityPictureWidget(halves[i].top, top, frame);
        new CityPictureWidget(halves[i].bottom, bottom, frame);
        for (const auto &[rect, address] : {std::pair{top, halves[i].topLink}, std::pair{bottom, halves[i].bottomLink}}) {
            QLabel *link = makeWebLink(frame, QLatin1String(address), QPoint(), 10, LinkColour, desktop);
            QPalette pal = link->palette();
            pal.setColor(QPalette::Window, QColor(255, 255, 255, 200));
            link->setPalette(pal);
            link->setAutoFillBackground(true);
            link->setContentsMargins(3, 1, 3, 1);
            link->adjustSize();
            link->move(rect.left() + 4, rect.bottom() - link->height() - 3);
        }
    }
}

void TLogoFrm::buildLowerArea(Desktop &desktop)
{
    new CityPictureWidget(CityPicture::Emblem, QRect(276, 284, 130, 44), m_client);
    textLine(m_client, {{QStringLiteral("tel./faqsi: ar aris, mogvwereT el. fostiT"), false}}, QPoint(4, 284), 11);
    makeWebLink(m_client, ProductInfo::webSite(), QPoint(4, 298), 11, LinkColour, desktop);
    // The number sign has no letter of its own in the transliteration, so it is set in Arial.
    textLine(m_client,
             {{QStringLiteral("programis versia "), false}, {QStringLiteral("\u2116"), true},
              {QLatin1Char(' ') + ProductInfo::version(), false}},
             QPoint(4, 313), 13);
    textLine(m_client, {{QStringLiteral("rukebi da monacemebi generirebulia da ar aris realuri"), false}}, QPoint(4, 330),
             11);
    const ProductInfo::Licence licence = ProductInfo::licence();
    textLine(m_client, {{licence.before, false}, {licence.name, true}, {licence.after, false}}, QPoint(4, 343), 11);
}

void TLogoFrm::keyPressEvent(QKeyEvent *event)
{
    // Only the timer closes the window.
    event->accept();
}

void TLogoFrm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setPen(QColor(150, 190, 215));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
