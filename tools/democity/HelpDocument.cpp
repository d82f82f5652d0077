#include "HelpDocument.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace HelpDocument {

namespace {

struct Section {
    const char *title;
    const char *paragraphs[6];
};

// Menu items and captions are quoted as the program shows them.
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
      "daaWireT Rilaks \"Zieba\" an klaviSas Enter. napovni obieqtebi daiyofa rubrikebad da "
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
     {"zogadi ruka mTel qalaqs aCvenebs. detaluri ruka 25 furclisgan Sedgeba (A1 - E4 da F5); "
      "TiToeuli furceli zogadi rukis erT nawils oTxjer ufro detalurad aCvenebs.",
      "masStabi icvleba 25-dan 200 procentamde: menius \"ruka\" punqtebiT \"masStabis gazrda\" da "
      "\"masStabis Semcireba\" an klaviSebiT + da -. ruka gadaadgileT TagviT.",
      "\"rukis gasufTaveba obieqtebisagan\" rukidan yvela niSans Slis.",
      nullptr}},
};

} // namespace

bool write(QIODevice &device, const QString &family, const QImage &generalMap)
{
    QPdfWriter writer(&device);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(150);
    writer.setTitle(QStringLiteral("kvirzeta - daxmareba"));
    writer.setCreator(QStringLiteral("Kvirzeta"));
    QPainter p;
    if (!p.begin(&writer))
        return false;
    const QRectF page(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    const double margin = 110;
    const QRectF body = page.adjusted(margin, margin, -margin, -margin);
    double y = body.top();

    auto font = [&](int points, bool bold) {
        QFont f(family);
        f.setPointSize(points);
        f.setBold(bold);
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
        paragraph(QString::fromLatin1(s.title), font(first ? 20 : 15, true), QColor(40, 90, 50), 30);
        if (first) {
            p.setPen(QPen(QColor(40, 90, 50), 3));
            p.drawLine(QPointF(body.left(), y - 15), QPointF(body.right(), y - 15));
        }
        for (const char *const *text = s.paragraphs; *text; ++text)
            paragraph(QString::fromLatin1(*text), font(11, false), QColor(30, 30, 30), 22);
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
