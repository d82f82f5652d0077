#pragma once
// Where a city tool puts the city it makes: the folder given must be new, empty, or hold a city a
// tool made before (its list and nothing else; see CityList). A link to a folder stands for the
// folder it points to, and stays a link. The city is written into a hidden folder beside it and
// swapped in only when it is whole; the old city is then removed, what its list names and
// nothing more.
//
//   CityReplacement replacement(folder);        // throws when the folder may not be replaced
//   const QString work = replacement.begin();   // the hidden folder to write the city into
//   ... write the city into work ...
//   replacement.commit();                       // the folder is looked at again; the swap
//
// Until commit() succeeds, the folder is left as it was and the hidden folder is removed when the
// replacement goes. Every failure throws std::runtime_error with a message for the user.
#include <QString>
#include <QStringList>

class CityReplacement {
public:
    explicit CityReplacement(const QString &folder);
    ~CityReplacement();
    CityReplacement(const CityReplacement &) = delete;
    CityReplacement &operator=(const CityReplacement &) = delete;

    // The folder the city goes into: the one given, or the one its link points to.
    const QString &folder() const { return m_folder; }
    // The folder as the user named it, for messages ("city", or "link (the folder it points to)").
    QString shownFolder() const;

    // Removes what earlier runs that were stopped left beside the folder (hidden folders of this
    // folder's name, with the mark of a run that has ended, or holding a whole city), then makes
    // the hidden folder and gives its path. `cleaned` hears the names of what was removed.
    QString begin(QStringList *cleaned = nullptr);
    // Checks the folder again (something may have been put there meanwhile), moves the old city
    // aside, the new one into place and removes the old one. When the new city cannot be moved
    // in, the old one is put back. When something of the old city cannot be removed, the new one
    // stays in place and the message says what is left where.
    void commit();

private:
    void check() const;
    void removeLeftovers(QStringList *cleaned) const;

    QString m_given;  // absolute, as given
    QString m_folder; // where the city goes
    QString m_work;   // the hidden folder, once made
    int m_mark = -1;  // the hidden folder's mark, locked while this run lasts
    bool m_committed = false;
};
