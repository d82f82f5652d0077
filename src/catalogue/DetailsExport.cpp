#include "catalogue/DetailsExport.h"

#include "common/Errors.h"
#include "common/Prompts.h"
#include "dialogs/WordMessage.h"
#include "platform/Desktop.h"
#include "platform/DisplayFont.h"
#include "platform/WordDocument.h"

namespace DetailsExport {
namespace {

const QString CR(QChar(13));
const QString AddressFont = QStringLiteral("Times New Roman");
constexpr double FontSize = 14.0;
constexpr int Justified = 3;

void formatSelection(WordDocument &document, const QString &fontName, bool justify)
{
    if (justify)
        document.setAlignment(Justified);
    document.setFontName(fontName);
    document.setFontSize(FontSize);
    document.collapse();
}

} // namespace

void typeDetails(WordDocument &document, const ObjectDetailsText &d)
{
    const QString displayFont = QString::fromLatin1(DisplayFont::Family);
    document.setVisible(true);
    document.setCaption(QStringLiteral("KVIRZETA"));
    document.addDocument();

    document.insertAfter(QStringLiteral(" ") + CR);
    document.insertAfter(QStringLiteral(" ") + CR);
    document.insertAfter(QStringLiteral("obieqtis dasaxeleba:    ") + d.name + QStringLiteral("; ") + CR);
    document.insertAfter(QStringLiteral(" ") + CR);
    document.insertAfter(QStringLiteral("adgilmdebareoba ") + CR);
    document.insertAfter(QStringLiteral("raioni :     ") + d.district + QStringLiteral("; ") + CR);
    document.insertAfter(QStringLiteral("misamarTi:     ") + d.address + QStringLiteral("; ") + CR);
    document.insertAfter(QStringLiteral("telefoni:    ") + d.telephone + QStringLiteral("; ") + CR);
    document.insertAfter(QStringLiteral("faqsi:    ") + d.fax + QStringLiteral("; ") + CR);
    document.insertAfter(QStringLiteral("veb-gverdi:    "));
    formatSelection(document, displayFont, true);

    document.insertAfter(d.website + QStringLiteral("; ") + CR);
    formatSelection(document, AddressFont, false);

    document.insertAfter(QStringLiteral("el. fosta:     "));
    formatSelection(document, displayFont, true);

    document.insertAfter(d.email + QStringLiteral("; ") + CR);
    formatSelection(document, AddressFont, false);

    document.insertAfter(QStringLiteral(" ") + CR);
    document.insertAfter(QStringLiteral("saqmianoba ") + CR);
    document.insertAfter(d.activity + CR);
    formatSelection(document, displayFont, true);

    document.disconnect();
}

void exportDetails(Desktop &desktop, Prompts &prompts, const ObjectDetailsText &details)
{
    std::unique_ptr<WordDocument> document;
    try {
        document = desktop.connectWordProcessor();
    } catch (const Error &) {
        // Any failure to reach the word processor gets the one message below.
    }
    if (!document) {
        prompts.showMessage(WordMessage::text());
        throw SilentAbort();
    }
    typeDetails(*document, details);
}

} // namespace DetailsExport
