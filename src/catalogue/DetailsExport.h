#pragma once
// Types an object's details into a new word-processor document, left open for the user to print.
#include <QString>

class Desktop;
class Prompts;
class WordDocument;

// The details as the details window shows them.
struct ObjectDetailsText {
    QString name;
    QString district;
    QString address;
    QString telephone;
    QString fax;
    QString website;
    QString email;
    QString activity;
};

namespace DetailsExport {

// Types the details into `document` call by call and lets the word processor go. The texts the
// display font draws are typed as Unicode Georgian, the web and e-mail addresses as they are.
void typeDetails(WordDocument &document, const ObjectDetailsText &details);

// Reaches the word processor and types the details. When none can be reached, the user is told
// that it is not installed and the command ends silently (SilentAbort).
void exportDetails(Desktop &desktop, Prompts &prompts, const ObjectDetailsText &details);

} // namespace DetailsExport
