#include "statementparser_p.h"

#include <QList>

namespace StandIn {

namespace {

struct Token
{
    enum Type { Name, Number, Text, Comma, Open, Close, Equals, PlusEquals, MinusEquals, Star, End };
    Type type = End;
    QString text;
    int offset = 0;
};

bool startsName(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool continuesName(const QString &text, int i)
{
    const QChar c = text.at(i);
    if (c.isLetterOrNumber() || c == u'_')
        return true;
    // A hyphen belongs to the name unless it begins the operator "-=".
    return c == u'-' && !(i + 1 < text.size() && text.at(i + 1) == u'=');
}

QChar unescaped(QChar c, bool *known)
{
    *known = true;
    switch (c.unicode()) {
    case u'n':
        return u'\n';
    case u'r':
        return u'\r';
    case u't':
        return u'\t';
    case u'\\':
    case u'"':
    case u'\'':
        return c;
    default:
        *known = false;
        return c;
    }
}

} // namespace

class StatementParser::Reader
{
public:
    explicit Reader(const QString &text)
        : m_text(text)
    {
    }

    bool tokenize()
    {
        int i = 0;
        while (true) {
            while (i < m_text.size() && m_text.at(i).isSpace())
                ++i;
            Token token;
            token.offset = i;
            if (i == m_text.size()) {
                m_tokens.append(token);
                return true;
            }
            const QChar c = m_text.at(i);
            const QChar next = i + 1 < m_text.size() ? m_text.at(i + 1) : QChar();
            if (startsName(c)) {
                const int start = i++;
                while (i < m_text.size() && continuesName(m_text, i))
                    ++i;
                token.type = Token::Name;
                token.text = m_text.mid(start, i - start);
            } else if (c.isDigit() || ((c == u'-' || c == u'+') && next.isDigit())) {
                const int start = i++;
                while (i < m_text.size() && m_text.at(i).isDigit())
                    ++i;
                token.type = Token::Number;
                token.text = m_text.mid(start, i - start);
            } else if (c == u'\'' || c == u'"') {
                token.type = Token::Text;
                if (!readQuoted(&i, &token.text))
                    return fail(QStringLiteral("unterminated text at %1").arg(token.offset));
            } else if ((c == u'+' || c == u'-') && next == u'=') {
                token.type = c == u'+' ? Token::PlusEquals : Token::MinusEquals;
                i += 2;
            } else {
                switch (c.unicode()) {
                case u',': token.type = Token::Comma; break;
                case u'(': token.type = Token::Open; break;
                case u')': token.type = Token::Close; break;
                case u'=': token.type = Token::Equals; break;
                case u'*': token.type = Token::Star; break;
                default:
                    return fail(QStringLiteral("unexpected '%1' at %2").arg(c).arg(i));
                }
                ++i;
            }
            m_tokens.append(token);
        }
    }

    bool statement(Statement *out)
    {
        if (acceptKeyword("select"))
            return select(out) && atEnd();
        if (acceptKeyword("insert"))
            return insert(out) && atEnd();
        if (acceptKeyword("update"))
            return update(out) && atEnd();
        if (acceptKeyword("delete"))
            return remove(out) && atEnd();
        return fail(QStringLiteral("a statement begins with select, insert, update or delete"));
    }

    QString error() const { return m_error; }

private:
    bool readQuoted(int *position, QString *value)
    {
        const QChar quote = m_text.at(*position);
        int i = *position + 1;
        while (i < m_text.size()) {
            const QChar c = m_text.at(i++);
            if (c == quote) {
                *position = i;
                return true;
            }
            if (c == u'\\' && i < m_text.size()) {
                bool known = false;
                const QChar replacement = unescaped(m_text.at(i++), &known);
                if (!known)
                    value->append(u'\\'); // not an escape: keep what was written
                value->append(replacement);
                continue;
            }
            value->append(c);
        }
        return false;
    }

    const Token &peek(int ahead = 0) const
    {
        return m_tokens.at(qMin(m_next + ahead, int(m_tokens.size()) - 1));
    }

    Token take() { return m_tokens.at(qMin(m_next++, int(m_tokens.size()) - 1)); }

    bool accept(Token::Type type)
    {
        if (peek().type != type)
            return false;
        ++m_next;
        return true;
    }

    bool isKeyword(const Token &token, const char *word) const
    {
        return token.type == Token::Name
               && token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    bool acceptKeyword(const char *word)
    {
        if (!isKeyword(peek(), word))
            return false;
        ++m_next;
        return true;
    }

    bool expectKeyword(const char *word)
    {
        return acceptKeyword(word) || fail(QStringLiteral("\"%1\" expected at %2")
                                               .arg(QLatin1String(word))
                                               .arg(peek().offset));
    }

    bool name(QString *out)
    {
        if (peek().type != Token::Name)
            return fail(QStringLiteral("a name expected at %1").arg(peek().offset));
        *out = take().text;
        return true;
    }

    bool value(QString *out, bool *quoted = nullptr)
    {
        const Token &token = peek();
        if (token.type != Token::Text && token.type != Token::Number)
            return fail(QStringLiteral("a value expected at %1").arg(token.offset));
        if (quoted)
            *quoted = token.type == Token::Text;
        *out = take().text;
        return true;
    }

    bool atEnd()
    {
        return peek().type == Token::End
               || fail(QStringLiteral("unexpected text at %1").arg(peek().offset));
    }

    bool fail(const QString &message)
    {
        if (m_error.isEmpty())
            m_error = message;
        return false;
    }

    bool select(Statement *out)
    {
        if (peek().type == Token::Name && peek(1).type == Token::Open)
            return call(out);
        out->kind = Statement::Select;
        if (accept(Token::Star)) {
            out->allFields = true;
        } else {
            do {
                QString field;
                if (!name(&field))
                    return false;
                out->fields.append(field);
            } while (accept(Token::Comma));
        }
        return expectKeyword("from") && name(&out->target) && optionalWhere(out);
    }

    bool call(Statement *out)
    {
        out->kind = Statement::Call;
        name(&out->target);
        take(); // the opening bracket
        if (!accept(Token::Close)) {
            do {
                Statement::Argument argument;
                if (!value(&argument.text, &argument.quoted))
                    return false;
                out->arguments.append(argument);
            } while (accept(Token::Comma));
            if (!accept(Token::Close))
                return fail(QStringLiteral("')' expected at %1").arg(peek().offset));
        }
        return true;
    }

    bool insert(Statement *out)
    {
        out->kind = Statement::Insert;
        return name(&out->target) && expectKeyword("set") && assignments(out);
    }

    bool update(Statement *out)
    {
        out->kind = Statement::Update;
        return name(&out->target) && expectKeyword("set") && assignments(out)
               && optionalWhere(out);
    }

    bool remove(Statement *out)
    {
        out->kind = Statement::Delete;
        if (!expectKeyword("from") || !name(&out->target))
            return false;
        // Deleting every row is never what the console means: a delete names its rows.
        if (!isKeyword(peek(), "where"))
            return fail(QStringLiteral("a delete needs a where part"));
        return optionalWhere(out);
    }

    bool assignments(Statement *out)
    {
        do {
            Statement::Assignment assignment;
            if (!name(&assignment.column))
                return false;
            if (accept(Token::Equals))
                assignment.op = Statement::Assignment::Set;
            else if (accept(Token::PlusEquals))
                assignment.op = Statement::Assignment::AddItem;
            else if (accept(Token::MinusEquals))
                assignment.op = Statement::Assignment::RemoveItem;
            else
                return fail(QStringLiteral("'=', '+=' or '-=' expected at %1").arg(peek().offset));
            if (!value(&assignment.value))
                return false;
            out->assignments.append(assignment);
        } while (accept(Token::Comma));
        return true;
    }

    bool optionalWhere(Statement *out)
    {
        if (!acceptKeyword("where"))
            return true;
        do {
            Statement::Condition condition;
            if (!name(&condition.column))
                return false;
            if (!accept(Token::Equals))
                return fail(QStringLiteral("'=' expected at %1").arg(peek().offset));
            if (!value(&condition.value))
                return false;
            out->conditions.append(condition);
        } while (acceptKeyword("and"));
        return true;
    }

    const QString &m_text;
    QList<Token> m_tokens;
    int m_next = 0;
    QString m_error;
};

bool StatementParser::parse(const QString &text, Statement *statement, QString *error)
{
    Reader reader(text);
    Statement parsed;
    const bool ok = reader.tokenize() && reader.statement(&parsed);
    if (ok)
        *statement = parsed;
    else if (error)
        *error = reader.error();
    return ok;
}

} // namespace StandIn
