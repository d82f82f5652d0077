#pragma once
// Whether the desktop has an application registered for a MIME type, read from the XDG
// application directories (mimeapps.list, mimeinfo.cache and the .desktop entries themselves).
#include <QString>

namespace MimeHandlers {
bool hasApplicationFor(const QString &mimeType);
}
