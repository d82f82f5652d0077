#pragma once
// What the splash and about windows say about the product itself.
#include <QString>

namespace ProductInfo {

inline QString version() { return QStringLiteral(KVIRZETA_VERSION); }
inline QString webSite() { return QStringLiteral("www.kvirzeta.example"); }
inline QString supportEmail() { return QStringLiteral("support@kvirzeta.example"); }

// Rich text: Latin words such as the licence's name are set in Arial, since the display font
// would draw them as Georgian letters.
inline QString latin(const QString &word) { return QStringLiteral("<span style=\"font-family:Arial\">") + word + QStringLiteral("</span>"); }
// The licence line: the licence's Latin name between words of the display font.
struct Licence {
    QString before, name, after;
};
inline Licence licence() { return {QStringLiteral("Kvirzeta-s proeqti, "), QStringLiteral("MIT"), QStringLiteral(" licenzia")}; }
inline QString licenceLine() { const Licence l = licence(); return l.before + latin(l.name) + l.after; }

} // namespace ProductInfo
