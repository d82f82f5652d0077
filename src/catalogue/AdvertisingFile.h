#pragma once
// The focused object's advertising file: its stored bytes are copied into the temporary directory
// and handed to the desktop, which opens them with the application associated with their type.
#include <QString>

class DataSet;
class Desktop;
class Prompts;

namespace AdvertisingFile {

// The name under which a stored file name is written: its last path component (both "/" and "\"
// separate), so that a name from the database never leads out of the temporary directory. An
// empty name, "." or ".." becomes "advertising", keeping the stored extension when there is one.
// A name longer than 255 bytes (UTF-8) is shortened to fit, keeping its extension.
QString safeFileName(const QString &storedName);

// Opens the advertising file of the current record of `objects`, or tells the user that the
// object has none. Returns the path written, empty when there was no file.
QString open(const DataSet &objects, Prompts &prompts, Desktop &desktop);

} // namespace AdvertisingFile
