#include "catalogue/ObjectDetailCommands.h"

#include "app/WindowParts.h"
#include "catalogue/AdvertisingFile.h"
#include "catalogue/DetailsExport.h"
#include "catalogue/ObjectDetailsWindow.h"
#include "common/Errors.h"
#include "data/DataModule.h"
#include "map/MapArea.h"
#include "platform/Desktop.h"
#include "platform/PrivateTempDirectory.h"
#include "widgets/ActiveLabel.h"

#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

ObjectDetailCommands::ObjectDetailCommands(WindowParts &parts) : m_parts(parts), m_runner(parts.prompts) {}

bool ObjectDetailCommands::hasFocusedObject() const
{
    const DataSet &objects = m_parts.DM1.obieqti_logo_Qr;
    return objects.isOpen() && objects.currentRow() >= 0;
}

void ObjectDetailCommands::ObjDetailAcExecute()
{
    if (!hasFocusedObject())
        return;
    TObieqtiDetFrm window(m_parts.map.window());
    fillWindow(window);
    connectWindow(window);
    window.exec();
}

void ObjectDetailCommands::ReaklamaAcExecute()
{
    if (!hasFocusedObject())
        return;
    AdvertisingFile::open(m_parts.DM1.obieqti_logo_Qr, m_parts.prompts, m_parts.desktop);
}

QString ObjectDetailCommands::districtName(const QVariant &districtKey)
{
    DataSet &districts = m_parts.DM1.RaioniQr;
    districts.open();
    // An object without a known district shows none, never the district that happened to be
    // current before.
    if (districtKey.isNull() || !districts.locate(QStringLiteral("raioni_kodi"), districtKey))
        return QString();
    return districts.text(QStringLiteral("saxeli"));
}

void ObjectDetailCommands::fillWindow(TObieqtiDetFrm &window)
{
    const DataSet &object = m_parts.DM1.obieqti_logo_Qr;
    window.NameText->setText(object.text(QStringLiteral("saxeli")));
    window.RaioniLb->setText(districtName(object.value(QStringLiteral("g_raioni_kodi"))));
    window.misamarTiLb->setText(object.text(QStringLiteral("misamarTi")));
    window.telefoniLb->setText(object.text(QStringLiteral("telefoni")));
    window.faxLb->setText(object.text(QStringLiteral("faqsi")));
    window.SaqmianobaEd->setPlainText(object.text(QStringLiteral("saqmianoba")));
    window.setWebsite(object.text(QStringLiteral("veb_gverdi")));
    window.setEmail(object.text(QStringLiteral("el_fosta")));
    showLogo(window);
}

void ObjectDetailCommands::showLogo(TObieqtiDetFrm &window)
{
    const DataSet &object = m_parts.DM1.obieqti_logo_Qr;
    if (object.isNull(QStringLiteral("tree_Logo")))
        return;
    const QString path = privateTempDirectory() + QStringLiteral("ForDetailWidow.jpg");
    object.saveBlobToFile(QStringLiteral("tree_Logo"), path);
    // A logo that is not a readable JPEG is simply not shown.
    QImageReader reader(path, "JPG");
    window.setLogo(reader.read());
}

void ObjectDetailCommands::connectWindow(TObieqtiDetFrm &window)
{
    QObject::connect(window.BitBtn3, &QPushButton::clicked, &window,
                     [this] { m_runner.run([this] { ReaklamaAcExecute(); }); });
    QObject::connect(window.BitBtn2, &QPushButton::clicked, &window,
                     [this, &window] { m_runner.run([this, &window] { BitBtn2Click(window); }); });
    QObject::connect(window.emailLb, &ActiveLabel::doubleClicked, &window,
                     [this, &window] { m_runner.run([this, &window] { emailLbDblClick(window); }); });
    QObject::connect(window.websiteLb, &ActiveLabel::clicked, &window,
                     [this, &window] { m_runner.run([this, &window] { websiteLbClick(window); }); });
}

void ObjectDetailCommands::BitBtn2Click(const TObieqtiDetFrm &window)
{
    DetailsExport::exportDetails(m_parts.desktop, m_parts.prompts, window.details());
}

void ObjectDetailCommands::emailLbDblClick(const TObieqtiDetFrm &window)
{
    m_parts.desktop.sendMail(window.emailLb->text());
}

void ObjectDetailCommands::websiteLbClick(const TObieqtiDetFrm &window)
{
    const QString address = window.websiteLb->text();
    if (address.isEmpty())
        return;
    // The address comes from the database: anything but a web page (a local file, another
    // program's scheme) could run or reveal something on this computer, so it is not opened.
    const QString scheme = QUrl::fromUserInput(address).scheme();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        throw Error(QStringLiteral("\"%1\" is not a web address").arg(address));
    m_parts.desktop.openLink(address);
}
