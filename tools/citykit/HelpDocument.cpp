#include "citykit/HelpDocument.h"

#include "common/GeorgianScript.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace HelpDocument {

namespace {

struct Section {
    const char *title;
    const char *paragraphs[6];
};

// Written in the transliteration; menu items and captions are quoted as the program shows them.
// Text in braces (sheet codes, key names) stays in Latin letters. A range takes an en dash: a line
// ending in a hyphen reads as a word broken in two.
const Section Sections[] = {
    {"kvirzeta - Tbilisis saZiebo-sainformacio sistema",
     {"kvirzeta gexmarebaT ipovoT Tbilisis obieqtebi, quCebi, sazogadoebrivi transportis marSrutebi da "
      "gaCerebebi da naxoT isini qalaqis rukaze.",
      "programis marcxena nawilSi sami Canartia: \"obieqti\", \"transporti\" da \"quCa\". TiToeul "
      "Canarts aqvs Tavisi sia da saZiebeli. marjvniv aris ruka.",
      "saZiebeli iReba menius \"operaciebi\" punqtiT \"saZiebeli\" an siis konteqsturi meniudan.",
      nullptr}},
    {"obieqtebis Zieba",
     {"gaxseniT Canarti \"obieqti\". saZiebelSi SeavseT erTi an ramdenime veli: \"rubrika\", "
      "\"qverubrika\", \"obieqtis saxeli\", \"raioni\", \"misamarTi\", \"telefoni\".",
      "daaWireT Rilaks \"Zieba\" an klaviSas {Enter}. napovni obieqtebi daiyofa rubrikebad da "
      "qverubrikebad; statusis zolSi Cans maTi raodenoba.",
      "obieqtze ormagi daWeriT gaixsneba \"obieqtis detalebi\": misamarTi, telefoni, el-fosta da "
      "veb-gverdi. \"sareklamo SemoTavazebis daTvaliereba\" xsnis obieqtis sareklamo fails.",
      "\"rubrukaSi Semvali obieqtebis xilva rukaze\" zogad rukaze aCvenebs rubrikis yvela obieqts.",
      nullptr}},
    {"quCebis Zieba",
     {"gaxseniT Canarti \"quCa\". airCieT \"quCis tipi\" (quCa, gamziri, moedani, Sesaxvevi...) an "
      "CawereT \"quCis dasaxeleba\" da daaWireT \"Zieba\". quCebi daiyofa raionebad.",
      "\"quCis Cveneba zogad rukaze\" da \"quCis Cveneba detalur rukaze\" quCas rukaze aRniSnavs. "
      "\"raionSi Semavali yvela quCis xilva\" aCvenebs raionis yvela quCas.",
      nullptr}},
    {"transportis Zieba",
     {"gaxseniT Canarti \"transporti\". SeiZleba moZebnoT \"transportis tipi\" (metro, avtobusi, "
      "mikroavtobusi, sabagiro gza), \"transportis dasaxeleba\" (marSrutis nomeri) an "
      "\"gaCerebis dasaxeleba\".",
      "\"marSrutis xilva zogad rukaze\" aCvenebs marSrutis yvela gaCerebas. \"gaCerebis Cveneba "
      "zogad rukaze\" da \"gaCerebis Cveneba detalur rukaze\" erT gaCerebas aRniSnavs.",
      nullptr}},
    {"ruka",
     {"zogadi ruka mTel qalaqs aCvenebs. detaluri ruka 25 furclisgan Sedgeba ({A1} – {E4} da {F5}); "
      "TiToeuli furceli zogadi rukis erT nawils oTxjer ufro detalurad aCvenebs.",
      "masStabi icvleba 25-dan 200 procentamde: menius \"ruka\" punqtebiT \"masStabis gazrda\" da "
      "\"masStabis Semcireba\" an klaviSebiT + da -. ruka gadaadgileT TagviT.",
      "\"rukis gasufTaveba obieqtebisagan\" rukidan yvela niSans Slis.",
      nullptr}},
};

// The help's text in Unicode Georgian, so that the PDF's text layer holds the letters the page
// shows and a reader can search it and copy from it.
QString georgian(const QString &transliterated)
{
    QString out;
    QString run;
    bool latin = false;
    const auto flush = [&] {
        out += latin ? run : GeorgianScript::toUnicode(run);
        run.clear();
    };
    for (const QChar c : transliterated) {
        if (c == QLatin1Char('{') || c == QLatin1Char('}')) {
            flush();
            latin = c == QLatin1Char('{');
        } else {
            run += c;
        }
    }
    flush();
    return out;
}

// An ordinary face with the Georgian letters: the display font would draw the same glyphs, but
// its Latin letters would give the PDF's text layer the transliteration instead.
const QString Family = QStringLiteral("DejaVu Sans");

} // namespace

bool write(QIODevice &device, const QImage &generalMap, const QString &cityGenitive)
{
    // The guide names the city it comes with.
    const auto georgian = [&](const char *transliterated) {
        return HelpDocument::georgian(QString::fromUtf8(transliterated).replace(QStringLiteral("Tbilisis"), cityGenitive));
    };
    QPdfWriter writer(&device);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(150);
    writer.setTitle(georgian("kvirzeta - daxmareba"));
    writer.setCreator(QStringLiteral("Kvirzeta"));
    QPainter p;
    if (!p.begin(&writer))
        return false;
    const QRectF page(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    const double margin = 110;
    const QRectF body = page.adjusted(margin, margin, -margin, -margin);
    double y = body.top();

    auto font = [&](int points, bool bold) {
        QFont f(Family);
        f.setPointSize(points);
        f.setBold(bold);
        return f;
    };
    // A title stays on one line, smaller if it must.
    auto titleFont = [&](const QString &text, int points) {
        QFont f = font(points, true);
        while (f.pointSize() > 8 && QFontMetricsF(f, &writer).horizontalAdvance(text) > body.width())
            f.setPointSize(f.pointSize() - 1);
        return f;
    };
    auto newPageIfNeeded = [&](double height) {
        if (y + height > body.bottom()) {
            writer.newPage();
            y = body.top();
        }
    };
    auto paragraph = [&](const QString &text, const QFont &f, const QColor &colour, double after) {
        p.setFont(f);
        const QRectF bounds = p.boundingRect(QRectF(body.left(), 0, body.width(), 10000), Qt::TextWordWrap, text);
        newPageIfNeeded(bounds.height());
        p.setPen(colour);
        p.drawText(QRectF(body.left(), y, body.width(), bounds.height()), Qt::TextWordWrap, text);
        y += bounds.height() + after;
    };

    bool first = true;
    for (const Section &s : Sections) {
        const QString title = georgian(s.title);
        paragraph(title, titleFont(title, first ? 20 : 15), QColor(40, 90, 50), 30);
        if (first) {
            p.setPen(QPen(QColor(40, 90, 50), 3));
            p.drawLine(QPointF(body.left(), y - 15), QPointF(body.right(), y - 15));
        }
        for (const char *const *text = s.paragraphs; *text; ++text)
            paragraph(georgian(*text), font(11, false), QColor(30, 30, 30), 22);
        y += 25;
        if (QLatin1String(s.title) == QLatin1String("ruka") && !generalMap.isNull()) {
            const double width = body.width();
            const double height = width * generalMap.height() / generalMap.width();
            newPageIfNeeded(height);
            p.drawImage(QRectF(body.left(), y, width, height), generalMap);
            y += height + 20;
        }
        first = false;
    }
    return p.end();
}

} // namespace HelpDocument
