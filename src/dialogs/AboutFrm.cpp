#include "dialogs/AboutFrm.h"

#include "common/CommandRunner.h"
#include "dialogs/CityPictures.h"
#include "dialogs/ProductInfo.h"
#include "dialogs/WebLink.h"
#include "platform/Desktop.h"
#include "platform/DisplayFont.h"
#include "widgets/ActiveLabel.h"

#include <QFrame>
#include <QTextEdit>

namespace {

const QColor Green(0, 128, 0);
const QColor Maroon(128, 0, 0);
const QColor LightGreen(192, 220, 192);
const QColor LinkBlue(0, 0, 192);
constexpr int LeftWidth = 313;
constexpr int TitleWidth = 335;

// Rich text; %1 is the licence name set in Arial.
const char TermsOfUse[] =
    "<p>Kvirzeta - Tbilisis sainformacio-saZiebo sistema.</p>"
    "<p>programa vrceldeba %1 licenziiT: misi gamoyeneba, kopireba, Secvla da gavrceleba "
    "nebadarTulia ufasod, Tu yvela aslSi SenarCunebulia avtoruli uflebis Setyobineba da es "
    "nebarTva.</p>"
    "<p>programa gadmocemulia \"rogorc aris\", yovelgvari garantiis gareSe.</p>"
    "<p>monacemebi: generirebuli sademonstracio qalaqi. obieqtebi, misamarTebi, telefonebi da "
    "reklama gamogonilia da ar aris realuri.</p>";

// `text` is fixed rich text.
QLabel *line(QWidget *parent, const QString &text, const QPoint &position, const QColor &colour = QColor())
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setText(text);
    if (colour.isValid()) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, colour);
        label->setPalette(pal);
    }
    label->move(position);
    label->adjustSize();
    return label;
}

// A green header followed by a horizontal line to `right`.
void header(QWidget *parent, const QString &text, const QPoint &position, int right)
{
    QLabel *label = line(parent, text, position, Green);
    auto *rule = new QFrame(parent);
    rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    const int x = label->geometry().right() + 6;
    rule->setGeometry(x, position.y() + label->height() / 2 - 1, right - x, 2);
}

} // namespace

TAboutFrm::TAboutFrm(Desktop &desktop, CommandRunner &runner, QWidget *parent, const QString &cityGenitive)
    : TitledDialog(QStringLiteral("Cvens Sesaxeb"), QSize(609, 375), 10, QColor(), parent),
      m_desktop(desktop), m_runner(runner)
{
    setPlacement(Placement::ScreenCentre);
    setFont(DisplayFont::font(13, true));
    buildLeftColumn(cityGenitive);
    buildRightColumn();
    buildSupportArea();
}

ActiveLabel *TAboutFrm::addWebLink(const QString &address, const QPoint &position)
{
    ActiveLabel *link = makeWebLink(clientArea(), address, position, 13, LinkBlue, m_desktop);
    m_webLinks << link;
    return link;
}

void TAboutFrm::buildLeftColumn(const QString &cityGenitive)
{
    QWidget *client = clientArea();
    new CityPictureWidget(CityPicture::Emblem, QRect(0, 0, LeftWidth, 81), client);
    line(client, QStringLiteral("tel.: ar aris, mogvwereT el. fostiT"), QPoint(0, 86));
    addWebLink(ProductInfo::webSite(), QPoint(0, 104));

    emailLb = new ActiveLabel(ProductInfo::supportEmail(), client);
    emailLb->setObjectName(QStringLiteral("emailLb"));
    emailLb->setFont(DisplayFont::arial(13));
    emailLb->setColour(Green);
    emailLb->setLinkCursor(true);
    emailLb->move(0, 121);
    emailLb->adjustSize();
    connect(emailLb, &ActiveLabel::clicked, this, &TAboutFrm::emailLbClick);

    const QString titles[] = {cityGenitive + QLatin1Char(' '), QStringLiteral("sainformacio - saZiebo "),
                              QStringLiteral("s  i  s  t  e  m  a")};
    int y = 142;
    for (const QString &title : titles) {
        auto *label = new ActiveLabel(title, client);
        label->setFont(DisplayFont::font(24, true));
        label->setColour(Green);
        label->setHoverColour(Maroon);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        label->setGeometry(0, y, TitleWidth, 28);
        m_titleLines << label;
        y += 29;
    }

    QLabel *version = line(client, QStringLiteral("Kvirzeta ") + ProductInfo::version(), QPoint(0, 234), Green);
    version->setFont(DisplayFont::arial(16, true));
    version->adjustSize();
    line(client, ProductInfo::licenceLine(), QPoint(0, 256));
}

void TAboutFrm::buildRightColumn()
{
    QWidget *client = clientArea();
    header(client, QStringLiteral("Cvens Sesaxeb"), QPoint(340, 0), client->width());
    m_terms = new QTextEdit(client);
    m_terms->setGeometry(345, 24, 248, 231);
    m_terms->setReadOnly(true);
    m_terms->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_terms->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_terms->setHtml(QLatin1String(TermsOfUse).arg(ProductInfo::latin(QStringLiteral("MIT"))));
    QPalette pal = m_terms->palette();
    pal.setColor(QPalette::Base, LightGreen);
    m_terms->setPalette(pal);
}

void TAboutFrm::buildSupportArea()
{
    QWidget *client = clientArea();
    header(client, QStringLiteral("teqnikuri mxardaWera"), QPoint(0, 276), client->width());
    struct Block {
        CityPicture banner;
        QString first, second, address;
    };
    const Block blocks[] = {
        {CityPicture::MapBanner, QStringLiteral("Kvirzeta-s proeqti"), QStringLiteral("tel.: ar aris"),
         ProductInfo::webSite()},
        {CityPicture::BusBanner, QStringLiteral("sademonstracio qalaqi"), QStringLiteral("tel.: ar aris"),
         ProductInfo::webSite() + QStringLiteral("/demo")},
    };
    int x = 0;
    for (const Block &block : blocks) {
        new CityPictureWidget(block.banner, QRect(x, 302, 90, 54), client);
        line(client, block.first, QPoint(x + 98, 302));
        line(client, block.second, QPoint(x + 98, 320));
        addWebLink(block.address, QPoint(x + 98, 340));
        x += 300;
    }
}

void TAboutFrm::emailLbClick()
{
    m_runner.run([this] { m_desktop.sendMail(emailLb->text()); });
}
