#include "catalogue/ObjectDetailsWindow.h"

#include "app/ToolBarImages.h"
#include "catalogue/DetailsExport.h"
#include "platform/DisplayFont.h"
#include "widgets/ActiveLabel.h"
#include "widgets/DialogButton.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

namespace {

const QColor LightGreen(192, 220, 192);
const QColor Teal(0, 128, 128);
constexpr int TopPanelHeight = 41;
constexpr int TabHeight = 377;
constexpr int BottomPanelHeight = 39;
constexpr int LabelHeight = 19;
constexpr int TabPicture = 6;

QFrame *addPanel(QWidget *parent, const QRect &geometry)
{
    auto *panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(geometry);
    return panel;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

} // namespace

TObieqtiDetFrm::TObieqtiDetFrm(QWidget *parent)
    : TitledDialog(QStringLiteral("infomarcia"), QSize(ClientWidth, ClientHeight), 10, LightGreen, parent)
{
    setFont(DisplayFont::font(13));
    QWidget *client = clientArea();

    QFrame *top = addPanel(client, QRect(0, 0, ClientWidth, TopPanelHeight));
    NameText = new QLabel(top);
    NameText->setObjectName(QStringLiteral("NameText"));
    NameText->setTextFormat(Qt::PlainText);
    NameText->setFont(DisplayFont::font(13, true));
    NameText->setGeometry(8, 2, ClientWidth - 16, TopPanelHeight - 4);
    NameText->setAlignment(Qt::AlignCenter);

    PageControl = new QTabWidget(client);
    PageControl->setGeometry(0, TopPanelHeight, ClientWidth, TabHeight);
    auto *page = new QWidget;
    page->setAutoFillBackground(true);
    QPalette pagePalette = page->palette();
    pagePalette.setColor(QPalette::Window, LightGreen);
    page->setPalette(pagePalette);
    PageControl->addTab(page, ToolBarImageList::icon(TabPicture), QStringLiteral("aRwera"));
    const int pageWidth = ClientWidth - 8;

    LogoIm = new QLabel(page);
    LogoIm->setObjectName(QStringLiteral("LogoIm"));
    LogoIm->setGeometry((pageWidth - MaxLogoSize.width()) / 2, 8, MaxLogoSize.width(), MaxLogoSize.height());
    LogoIm->setAlignment(Qt::AlignCenter);

    addSectionHeader(page, QStringLiteral("rekvizitebi"), 71);
    const QStringList captions = {QStringLiteral("raioni:"),    QStringLiteral("misamarTi:"),
                                  QStringLiteral("telefoni:"),  QStringLiteral("faqsi:"),
                                  QStringLiteral("veb gverdi:"), QStringLiteral("el. fosta:")};
    const int rows[] = {90, 115, 143, 169, 195, 222};
    for (int i = 0; i < captions.size(); ++i) {
        auto *caption = new QLabel(captions[i], page);
        setTextColour(caption, Teal);
        caption->setGeometry(15, rows[i], 94, LabelHeight);
    }
    RaioniLb = addValueLabel(page, 110, rows[0]);
    misamarTiLb = addValueLabel(page, 110, rows[1]);
    telefoniLb = addValueLabel(page, 110, rows[2]);
    faxLb = addValueLabel(page, 110, rows[3]);

    websiteLb = new ActiveLabel(QString(), page);
    websiteLb->setFont(DisplayFont::arial(13, true));
    websiteLb->setColour(Qt::black);
    websiteLb->setHoverColour(Qt::blue);
    websiteLb->setUnderlineOnHover(true);
    websiteLb->setLinkCursor(true);
    websiteLb->move(109, rows[4]);

    emailLb = new ActiveLabel(QString(), page);
    emailLb->setFont(DisplayFont::arial(13, true));
    emailLb->setColour(Qt::black);
    emailLb->setLinkCursor(true);
    emailLb->move(110, rows[5]);

    addSectionHeader(page, QStringLiteral("saqmianoba"), 247);
    SaqmianobaEd = new QPlainTextEdit(page);
    SaqmianobaEd->setObjectName(QStringLiteral("SaqmianobaEd"));
    SaqmianobaEd->setGeometry(14, 268, 387, 63);
    SaqmianobaEd->setReadOnly(true);
    SaqmianobaEd->setFrameShape(QFrame::NoFrame);
    SaqmianobaEd->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SaqmianobaEd->setFont(DisplayFont::font(13, true));
    QPalette editPalette = SaqmianobaEd->palette();
    editPalette.setColor(QPalette::Base, LightGreen);
    SaqmianobaEd->setPalette(editPalette);

    QFrame *bottom = addPanel(client, QRect(0, ClientHeight - BottomPanelHeight, ClientWidth, BottomPanelHeight));
    const int gap = (ClientWidth - 3 * 119) / 4;
    auto buttonRect = [gap](int i) { return QRect(gap + i * (119 + gap), 5, 119, 29); };
    BitBtn3 = DialogButton::make(bottom, QStringLiteral("SemoTavazeba"), DialogButton::Picture::Yes, buttonRect(0));
    BitBtn3->setIcon(ToolBarImageList::icon(ToolBarImageList::Advertising));
    BitBtn2 = DialogButton::make(bottom, QStringLiteral("beWdva"), DialogButton::Picture::Yes, buttonRect(1));
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    BitBtn1 = DialogButton::make(bottom, QStringLiteral("daxurva"), DialogButton::Picture::Close, buttonRect(2));
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

QLabel *TObieqtiDetFrm::addValueLabel(QWidget *page, int x, int y)
{
    auto *label = new QLabel(page);
    // The values come from the database: never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setFont(DisplayFont::font(13, true));
    setTextColour(label, Qt::black);
    label->setGeometry(x, y, ClientWidth - 8 - x - 6, LabelHeight);
    return label;
}

void TObieqtiDetFrm::addSectionHeader(QWidget *page, const QString &text, int y)
{
    auto *header = new QLabel(text, page);
    header->setFont(DisplayFont::font(13, true));
    setTextColour(header, Teal);
    header->move(15, y);
    header->adjustSize();
    auto *line = new QFrame(page);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    const int left = header->geometry().right() + 6;
    line->setGeometry(left, y + header->height() / 2 - 1, ClientWidth - 8 - left - 15, 3);
}

void TObieqtiDetFrm::setWebsite(const QString &address)
{
    websiteLb->setText(address);
    websiteLb->adjustSize();
}

void TObieqtiDetFrm::setLogo(const QImage &logo)
{
    if (logo.isNull()) {
        LogoIm->clear();
        return;
    }
    QImage shown = logo;
    if (logo.width() > MaxLogoSize.width() || logo.height() > MaxLogoSize.height())
        shown = logo.scaled(MaxLogoSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    LogoIm->setPixmap(QPixmap::fromImage(shown));
}

void TObieqtiDetFrm::setEmail(const QString &address)
{
    emailLb->setText(address);
    emailLb->adjustSize();
}

bool TObieqtiDetFrm::hasLogo() const
{
    return !LogoIm->pixmap().isNull();
}

ObjectDetailsText TObieqtiDetFrm::details() const
{
    return {NameText->text(),  RaioniLb->text(), misamarTiLb->text(), telefoniLb->text(),
            faxLb->text(),     websiteLb->text(), emailLb->text(),    SaqmianobaEd->toPlainText()};
}
