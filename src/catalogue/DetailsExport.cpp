#include "catalogue/DetailsExport.h"

#include "common/Errors.h"
#include "common/GeorgianScript.h"
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
    // What the window draws in the display font goes in as the Georgian letters the font draws, so
    // that it reads correctly in any font and can be searched in the document; the web and e-mail
    // addresses, drawn in Arial, go in as they are.
    const auto insertGeorgian = [&](const QString &text) {
        document.insertAfter(GeorgianScript::toUnicode(text));
    };
    document.setVisible(true);
    document.setCaption(QStringLiteral("KVIRZETA"));
    document.addDocument();

    insertGeorgian(QStringLiteral(" ") + CR);
    insertGeorgian(QStringLiteral(" ") + CR);
    insertGeorgian(QStringLiteral("obieqtis dasaxeleba:    ") + d.name + QStringLiteral("; ") + CR);
    insertGeorgian(QStringLiteral(" ") + CR);
    insertGeorgian(QStringLiteral("adgilmdebareoba ") + CR);
    insertGeorgian(QStringLiteral("raioni :     ") + d.district + QStringLiteral("; ") + CR);
    insertGeorgian(QStringLiteral("misamarTi:     ") + d.address + QStringLiteral("; ") + CR);
    insertGeorgian(QStringLiteral("telefoni:    ") + d.telephone + QStringLiteral("; ") + CR);
    insertGeorgian(QStringLiteral("faqsi:    ") + d.fax + QStringLiteral("; ") + CR);
    insertGeorgian(QStringLiteral("veb-gverdi:    "));
    formatSelection(document, displayFont, true);

    document.insertAfter(d.website + QStringLiteral("; ") + CR);
    formatSelection(document, AddressFont, false);

    insertGeorgian(QStringLiteral("el. fosta:     "));
    formatSelection(document, displayFont, true);

    document.insertAfter(d.email + QStringLiteral("; ") + CR);
    formatSelection(document, AddressFont, false);

    insertGeorgian(QStringLiteral(" ") + CR);
    insertGeorgian(QStringLiteral("saqmianoba ") + CR);
    insertGeorgian(d.activity + CR);
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
