#include "citykit/AdvertPdf.h"

#include "citykit/Geometry.h"

#include <QMap>
#include <QMutex>
#include <QVector>

namespace AdvertPdf {

namespace {

QByteArray pdfText(const QString &text)
{
    QByteArray out;
    for (QChar c : text) {
        const char ch = c.unicode() < 128 ? char(c.unicode()) : '?';
        if (ch == '(' || ch == ')' || ch == '\\')
            out += '\\';
        out += ch;
    }
    return out;
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 2);
}

// A grid of small squares in a pale colour, at least the given number of bytes long and ending
// with a whole operation. The longest pattern asked for is kept and cut for shorter requests.
QByteArray pattern(qsizetype bytes)
{
    static QByteArray made;
    static QMutex lock;
    QMutexLocker locker(&lock);
    for (int i = int(made.size() / 16); made.size() < bytes + 64; ++i) {
        const int x = 12 + (i * 7) % 396, y = 8 + ((i * 7) / 396 * 5) % 40;
        made += QByteArray::number(x) + ' ' + QByteArray::number(y) + " 3 3 re f\n";
    }
    const qsizetype end = made.indexOf('\n', bytes);
    return made.left(end + 1);
}

QByteArray document(const QByteArray &content)
{
    QVector<QByteArray> objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 420 298] /Resources << /Font << /F1 4 0 R /F2 5 0 R >> >> "
        "/Contents 6 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream",
    };
    QByteArray pdf = "%PDF-1.4\n";
    QVector<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

} // namespace

QByteArray leaflet(const ObjectRecord &o, const QString &subRubric, int minimumBytes)
{
    const std::uint64_t h = stableHash(o.name);
    const double r = 0.3 + (h % 50) / 100.0, g = 0.2 + (h / 50 % 50) / 100.0, b = 0.4 + (h / 2500 % 50) / 100.0;
    QByteArray content;
    content += number(r) + ' ' + number(g) + ' ' + number(b) + " rg 0 238 420 60 re f\n";
    content += "BT /F1 22 Tf 1 1 1 rg 20 260 Td (" + pdfText(o.name.left(40)) + ") Tj ET\n";
    content += "BT /F2 12 Tf 0.2 0.2 0.2 rg 20 210 Td (" + pdfText(subRubric) + ") Tj ET\n";
    content += "BT /F2 12 Tf 20 180 Td (" + pdfText(o.address) + ") Tj ET\n";
    content += "BT /F2 12 Tf 20 160 Td (" + pdfText(o.phone) + ") Tj ET\n";
    content += "BT /F2 12 Tf 20 140 Td (" + pdfText(o.activity.left(70)) + ") Tj ET\n";
    if (!o.web.isEmpty())
        content += "BT /F1 12 Tf 20 110 Td (" + pdfText(o.web) + ") Tj ET\n";
    content += "BT /F1 16 Tf " + number(r) + ' ' + number(g) + ' ' + number(b)
        + " rg 20 70 Td (sareklamo SemoTavazeba) Tj ET\n";
    QByteArray pdf = document(content);
    if (pdf.size() < minimumBytes) {
        // The pattern's own length digits may grow by a few bytes; the margin covers them.
        content += "q 0.88 0.92 0.96 rg\n" + pattern(minimumBytes - pdf.size()) + "Q\n";
        pdf = document(content);
    }
    return pdf;
}

} // namespace AdvertPdf
