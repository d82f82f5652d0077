#pragma once
// Plausible names in the transliteration for what the model does not name itself.
#include "citykit/Model.h"

class Rng;

namespace names {

// The genitive of a name's last word, as street and firm names use it: "beriZe" gives "beriZis",
// "kostava" "kostavas", "rusTaveli" "rusTavelis".
QString genitive(const QString &word);
// A first name as it stands before a surname: "levani" gives "levan", "Tamari" "Tamar".
QString attributive(const QString &name);
// Fills a pattern from the model's word lists: "{surname:gen} saxinkle" -> "beriZis saxinkle".
QString fromPattern(const Model &model, const QString &pattern, Rng &rng);
// A street name that looks like Tbilisi's: "giorgi beriZis quCa", "vekuas II Sesaxvevi".
QString street(const Model &model, Rng &rng, int *type);
// A web domain made of a name's letters: "kafe mzianeti" -> "kafemzianeti".
QString domain(const QString &name);

} // namespace names
