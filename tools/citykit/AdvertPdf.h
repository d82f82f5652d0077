#pragma once
// Small advertising leaflets as PDF files, written directly: one landscape page with the firm's
// name, address, telephone and activity. A requested size is reached with a decorative pattern.
#include "citykit/City.h"

#include <QByteArray>

namespace AdvertPdf {

QByteArray leaflet(const ObjectRecord &o, const QString &subRubric, int minimumBytes);

}
