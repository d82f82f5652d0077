#include "data/QueryGuard.h"

namespace QueryGuard {

namespace {

// Walks the text as the database's lexer would: string literals, quoted names and comments are
// passed over whole, so that a ";" or a word inside them counts for nothing.
class Scanner {
public:
    explicit Scanner(const QString &sql) : m_sql(sql) {}

    // The next word or punctuation character outside literals and comments; empty at the end.
    QString next()
    {
        const int n = int(m_sql.size());
        while (m_pos < n) {
            const QChar c = m_sql[m_pos];
            if (c.isSpace()) {
                ++m_pos;
            } else if (c == QLatin1Char('-') && peek(1) == QLatin1Char('-')) {
                while (m_pos < n && m_sql[m_pos] != QLatin1Char('\n'))
                    ++m_pos;
            } else if (c == QLatin1Char('/') && peek(1) == QLatin1Char('*')) {
                const int end = int(m_sql.indexOf(QLatin1String("*/"), m_pos + 2));
                m_pos = end < 0 ? n : end + 2;
            } else if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
                skipQuoted(c);
                return QStringLiteral("'");
            } else if (c.isLetterOrNumber() || c == QLatin1Char('_')) {
                const int start = m_pos;
                while (m_pos < n && (m_sql[m_pos].isLetterOrNumber() || m_sql[m_pos] == QLatin1Char('_')))
                    ++m_pos;
                return m_sql.mid(start, m_pos - start).toUpper();
            } else {
                ++m_pos;
                return QString(c);
            }
        }
        return QString();
    }

private:
    QChar peek(int ahead) const
    {
        return m_pos + ahead < m_sql.size() ? m_sql[m_pos + ahead] : QChar();
    }

    // A quote ends the literal unless it is doubled. An unterminated literal runs to the end:
    // the database then reports the broken text with its own message.
    void skipQuoted(QChar quote)
    {
        const int n = int(m_sql.size());
        ++m_pos;
        while (m_pos < n) {
            if (m_sql[m_pos] == quote) {
                if (peek(1) == quote) {
                    m_pos += 2;
                    continue;
                }
                ++m_pos;
                return;
            }
            ++m_pos;
        }
    }

    const QString &m_sql;
    int m_pos = 0;
};

} // namespace

QString refusal(const QString &sql)
{
    Scanner scanner(sql);
    QString token = scanner.next();
    while (token == QLatin1String("("))
        token = scanner.next();
    if (token != QLatin1String("SELECT"))
        return QStringLiteral("Only SELECT queries are run on the database");
    for (token = scanner.next(); !token.isEmpty(); token = scanner.next()) {
        if (token == QLatin1String("INTO"))
            return QStringLiteral("SELECT ... INTO is not run on the database");
        if (token == QLatin1String(";")) {
            if (!scanner.next().isEmpty())
                return QStringLiteral("Only one statement at a time is run on the database");
            break;
        }
    }
    return QString();
}

} // namespace QueryGuard
