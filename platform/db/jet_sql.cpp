#include "platform/db/jet_sql.h"

#include <algorithm>
#include <set>

#include "platform/db/errors.h"
#include "platform/db/text.h"
#include "platform/vb/ascii.h"

namespace db::detail {

namespace {

std::string upper(std::string_view s) { return vb::ascii::upper(s); }

bool isWord(const Token& t, const char* w) { return t.kind == Token::Word && upper(t.text) == w; }
bool isPunct(const Token& t, const char* p) { return t.kind == Token::Punct && t.text == p; }
// Follows the nesting of round brackets; true when t is one.
bool countBracket(const Token& t, int& depth) {
    const int step = isPunct(t, "(") ? 1 : isPunct(t, ")") ? -1 : 0;
    depth += step;
    return step != 0;
}
bool isName(const Token& t) { return t.kind == Token::Word || t.kind == Token::Bracket || t.kind == Token::DQuote; }

[[noreturn]] void fail(int number, const std::string& detail = "") { raise(number, detail); }

// Indexes of the tokens that are not blanks.
std::vector<size_t> significant(const std::vector<Token>& t, size_t from = 0, size_t to = std::string::npos) {
    std::vector<size_t> out;
    to = std::min(to, t.size());
    for (size_t i = from; i < to; ++i)
        if (t[i].kind != Token::Space) out.push_back(i);
    return out;
}

std::string trimmed(std::string s) {
    size_t b = 0, e = s.size();
    while (b < e && vb::ascii::isSpace(s[b])) ++b;
    while (e > b && vb::ascii::isSpace(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Drops a statement's trailing blanks and semicolons.
std::string withoutEnd(const std::string& s) {
    std::string r = trimmed(s);
    while (!r.empty() && (r.back() == ';' || vb::ascii::isSpace(r.back()))) r.pop_back();
    return r;
}

const std::set<std::string>& clauseWords() {
    static const std::set<std::string> w = {"WHERE", "ORDER", "GROUP", "HAVING", "UNION", "INNER", "LEFT",
                                            "RIGHT", "JOIN",  "OUTER", "CROSS",  "FULL",  "ON",    "IN"};
    return w;
}

std::string quoted(std::string_view s, char mark) {
    std::string out(1, mark);
    for (char c : s) {
        if (c == mark) out += mark;
        out += c;
    }
    return out + mark;
}

}  // namespace

std::string quoteName(std::string_view name) { return quoted(name, '"'); }
std::string quoteLiteral(std::string_view text) { return quoted(text, '\''); }

std::vector<Token> tokenize(std::string_view s, int errorNumber) {
    std::vector<Token> out;
    size_t i = 0;
    int depth = 0;
    auto unterminated = [&](const char* what) { fail(errorNumber, std::string(what) + ": " + std::string(s)); };
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const size_t start = i;
        if (vb::ascii::isSpace(c)) {
            while (i < s.size() && vb::ascii::isSpace(s[i])) ++i;
            out.push_back({Token::Space, std::string(s.substr(start, i - start)), ""});
        } else if (c == '[') {
            size_t close = s.find(']', i + 1);
            if (close == std::string_view::npos) unterminated("fehlende schließende Klammer");
            out.push_back(
                {Token::Bracket, std::string(s.substr(i, close - i + 1)), std::string(s.substr(i + 1, close - i - 1))});
            i = close + 1;
        } else if (c == '\'' || c == '"') {
            std::string value;
            ++i;
            bool closed = false;
            while (i < s.size()) {
                if (static_cast<unsigned char>(s[i]) == c) {
                    if (i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == c) {
                        value += static_cast<char>(c);
                        i += 2;
                        continue;
                    }
                    closed = true;
                    ++i;
                    break;
                }
                value += s[i++];
            }
            if (!closed) unterminated("Zeichenfolge ohne Ende");
            out.push_back({c == '\'' ? Token::String : Token::DQuote, std::string(s.substr(start, i - start)), value});
        } else if (c == '#') {
            size_t close = s.find('#', i + 1);
            if (close == std::string_view::npos) unterminated("Datum ohne Ende");
            out.push_back(
                {Token::DateLit, std::string(s.substr(i, close - i + 1)), std::string(s.substr(i + 1, close - i - 1))});
            i = close + 1;
        } else if (vb::ascii::isDigit(c) || (c == '.' && i + 1 < s.size() && vb::ascii::isDigit(s[i + 1]))) {
            while (i < s.size() && (vb::ascii::isAlnum(s[i]) || s[i] == '.')) ++i;
            out.push_back({Token::Number, std::string(s.substr(start, i - start)), ""});
        } else if (vb::ascii::isAlpha(c) || c == '_' || c >= 0x80) {
            while (i < s.size()) {
                const unsigned char d = static_cast<unsigned char>(s[i]);
                if (!(vb::ascii::isAlnum(d) || d == '_' || d >= 0x80 || d == '$')) break;
                ++i;
            }
            const std::string w(s.substr(start, i - start));
            out.push_back({Token::Word, w, w});
        } else {
            // Two-character operators.
            if (i + 1 < s.size()) {
                const std::string two(s.substr(i, 2));
                if (two == "<>" || two == "<=" || two == ">=" || two == "||" || two == "!=") {
                    out.push_back({Token::Punct, two, ""});
                    i += 2;
                    continue;
                }
            }
            out.push_back({Token::Punct, std::string(1, static_cast<char>(c)), ""});
            ++i;
            if (c == '(' && ++depth > kMaxNesting)
                raiseText(vb::err::SyntaxError,
                          "Die Anweisung ist zu tief verschachtelt (mehr als " + std::to_string(kMaxNesting) +
                              " Klammerebenen) und wird nicht ausgeführt.",
                          std::string(s.substr(0, std::min<size_t>(s.size(), 200))));
            if (c == ')' && depth > 0) --depth;
        }
    }
    return out;
}

namespace {

// Where an operand of "&" ends: Jet's "&" binds weaker than arithmetic, stronger than comparison.
bool endsOperand(const Token& k) {
    static const std::set<std::string> words = {"AND",    "OR",   "NOT",   "LIKE",   "IS",   "IN",       "BETWEEN",
                                                "SELECT", "FROM", "WHERE", "ORDER",  "BY",   "GROUP",    "HAVING",
                                                "AS",     "ON",   "SET",   "VALUES", "THEN", "ELSE",     "WHEN",
                                                "END",    "CASE", "INTO",  "ASC",    "DESC", "DISTINCT", "DISTINCTROW",
                                                "UNION",  "JOIN", "INNER", "LEFT",   "RIGHT"};
    if (k.kind == Token::Punct)
        return k.text == "," || k.text == "=" || k.text == "<" || k.text == ">" || k.text == "<=" || k.text == ">=" ||
               k.text == "<>" || k.text == "!=" || k.text == ";";
    return k.kind == Token::Word && words.count(upper(k.text)) > 0;
}

// Left( and Right( call the text functions; only without a bracket are they the joins' words.
bool isCall(const std::vector<Token>& t, size_t i, size_t to) {
    if (!isWord(t[i], "LEFT") && !isWord(t[i], "RIGHT")) return false;
    size_t n = i + 1;
    while (n < to && t[n].kind == Token::Space) ++n;
    return n < to && isPunct(t[n], "(");
}

// "a & b" joins texts with Null as "": (coalesce(a, '') || coalesce(b, '')). The chains are found in
// one pass over the tokens, each bracket level keeping its own state, and written as texts to put
// before and after tokens (an "&" itself is replaced): the time is linear in the text, however
// long the chains or deep the brackets.
struct ConcatRewrite {
    std::vector<std::string> before, after;
    std::vector<bool> dropped;
};

ConcatRewrite rewriteConcat(const std::vector<Token>& t, size_t from, size_t to) {
    ConcatRewrite r;
    r.before.resize(to - from);
    r.after.resize(to - from);
    r.dropped.resize(to - from);
    struct Level {
        long firstSig = -1;  // first token of the operand under way at this level
        long lastSig = -1;   // its last token so far
        bool inChain = false;
    };
    std::vector<Level> levels(1);
    auto at = [&](size_t i) { return i - from; };
    auto close = [&](Level& l) {
        if (!l.inChain) return;
        r.after[at(static_cast<size_t>(l.lastSig))] += ", ''))";
        l.inChain = false;
    };
    for (size_t i = from; i < to; ++i) {
        const Token& k = t[i];
        if (k.kind == Token::Space) continue;
        Level& l = levels.back();
        if (isPunct(k, "&")) {
            if (!l.inChain) {
                // An empty left operand stays empty; SQLite then names the fault.
                r.before[at(l.firstSig >= 0 ? static_cast<size_t>(l.firstSig) : i)] += "(coalesce(";
                l.inChain = true;
            }
            r.dropped[at(i)] = true;
            r.before[at(i)] += ", '') || coalesce(";
            l.firstSig = static_cast<long>(i);
            l.lastSig = static_cast<long>(i);
            continue;
        }
        if (isPunct(k, ")") && levels.size() > 1) {
            close(levels.back());
            levels.pop_back();
            levels.back().lastSig = static_cast<long>(i);
            continue;
        }
        if ((endsOperand(k) && !isCall(t, i, to)) || isPunct(k, ")")) {
            close(l);
            l.firstSig = -1;
            l.lastSig = -1;
            continue;
        }
        if (l.firstSig < 0) l.firstSig = static_cast<long>(i);
        l.lastSig = static_cast<long>(i);
        if (isPunct(k, "(")) levels.emplace_back();
    }
    while (!levels.empty()) {
        close(levels.back());
        levels.pop_back();
    }
    return r;
}

// "field LIKE 17": Jet compares the field's text with the pattern, so a pattern of digits alone
// matches as an equality would. The connections' LIKE is a function of ours that no index serves;
// an equality written beside it lets SQLite find the rows through an index. A value whose text is
// those digits is the number, the text or the bytes of them, so the added condition holds wherever
// LIKE holds, and the rows matched stay the same.
struct DigitLike {
    size_t nameEnd = 0;  // one past the field's name
    size_t pattern = 0;  // the pattern's token
    std::string digits;
};

size_t nextSignificant(const std::vector<Token>& t, size_t i, size_t to) {
    while (i < to && t[i].kind == Token::Space) ++i;
    return i;
}

bool digitLikeAt(const std::vector<Token>& t, size_t i, size_t from, size_t to, DigitLike& out) {
    static const std::set<std::string> opens = {"AND",    "OR",   "NOT",  "WHERE", "ON",
                                                "HAVING", "WHEN", "THEN", "ELSE",  "SELECT"};
    static const std::set<std::string> closes = {"AND",  "OR",   "ORDER", "GROUP", "HAVING",
                                                 "THEN", "ELSE", "END",   "WHEN",  "UNION"};
    static const std::set<std::string> words = {"NOT",   "AND",      "OR",          "WHERE",   "ON",   "HAVING",
                                                "WHEN",  "THEN",     "ELSE",        "SELECT",  "CASE", "END",
                                                "IS",    "NULL",     "IN",          "BETWEEN", "LIKE", "TRUE",
                                                "FALSE", "DISTINCT", "DISTINCTROW", "BY",      "AS",   "FROM"};
    auto isKeyword = [&](const Token& k) { return k.kind == Token::Word && words.count(upper(k.text)) > 0; };
    if (!(t[i].kind == Token::Word || t[i].kind == Token::Bracket) || isKeyword(t[i])) return false;
    // The field stands alone: nothing before it binds to it more strongly than LIKE.
    size_t p = i;
    while (p > from && t[p - 1].kind == Token::Space) --p;
    if (p > from) {
        const Token& b = t[p - 1];
        const bool open = isPunct(b, "(") || isPunct(b, ",") || (b.kind == Token::Word && opens.count(upper(b.text)));
        if (!open) return false;
        // The AND of "BETWEEN a AND b" ends no operand.
        if (isWord(b, "AND")) {
            int depth = 0;
            for (size_t q = p - 1; q-- > from;) {
                if (isPunct(t[q], ")")) ++depth;
                else if (isPunct(t[q], "(") && depth-- == 0) break;
                if (depth) continue;
                if (isWord(t[q], "BETWEEN")) return false;
                if (isWord(t[q], "AND") || isWord(t[q], "OR") || isWord(t[q], "WHERE") || isWord(t[q], "ON") ||
                    isWord(t[q], "HAVING") || isWord(t[q], "WHEN"))
                    break;
            }
        }
    }
    size_t n = i + 1;
    if (n + 1 < to && isPunct(t[n], ".") && (t[n + 1].kind == Token::Word || t[n + 1].kind == Token::Bracket) &&
        !isKeyword(t[n + 1]))
        n += 2;
    out.nameEnd = n;
    const size_t like = nextSignificant(t, n, to);
    if (like >= to || !isWord(t[like], "LIKE")) return false;
    const size_t pat = nextSignificant(t, like + 1, to);
    if (pat >= to) return false;
    const Token& k = t[pat];
    std::string digits = k.kind == Token::Number                                ? k.text
                         : (k.kind == Token::String || k.kind == Token::DQuote) ? k.value
                                                                                : std::string();
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    if (k.kind == Token::Number) {
        // A number is matched by its text as SQLite writes it: without leading zeros, and in
        // exponent form once it is too large for a whole number (left as it is here).
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
        if (digits.size() > 18) return false;
    }
    const size_t after = nextSignificant(t, pat + 1, to);
    if (after < to) {
        const Token& a = t[after];
        const bool close = isPunct(a, ")") || isPunct(a, ",") || isPunct(a, ";") ||
                           (a.kind == Token::Word && closes.count(upper(a.text)));
        if (!close) return false;
    }
    out.pattern = pat;
    out.digits = digits;
    return true;
}

}  // namespace

std::string translateTokens(const std::vector<Token>& t, size_t fromIn, size_t toIn, const DottedNames& dotted,
                            int errorNumber) {
    const size_t to = std::min(toIn, t.size());
    const size_t from = std::min(fromIn, to);
    bool hasAmp = false;
    for (size_t k = from; k < to && !hasAmp; ++k) hasAmp = isPunct(t[k], "&");
    const ConcatRewrite amp = hasAmp ? rewriteConcat(t, from, to) : ConcatRewrite();
    auto before = [&](size_t i) -> const std::string& {
        static const std::string none;
        return hasAmp ? amp.before[i - from] : none;
    };
    auto after = [&](size_t i) -> const std::string& {
        static const std::string none;
        return hasAmp ? amp.after[i - from] : none;
    };
    std::string out;
    for (size_t i = from; i < to; ++i) {
        const Token& k = t[i];
        const size_t first = i;
        out += before(i);
        if (hasAmp && amp.dropped[i - from]) {
            out += after(i);
            continue;
        }
        DigitLike dl;
        if ((k.kind == Token::Word || k.kind == Token::Bracket) && digitLikeAt(t, i, from, to, dl)) {
            bool plain = true;  // no "&" rewriting reaches into it
            for (size_t j = i; j <= dl.pattern && hasAmp; ++j)
                plain = plain && amp.before[j - from].empty() && amp.after[j - from].empty() && !amp.dropped[j - from];
            if (plain) {
                const std::string name = translateTokens(t, i, dl.nameEnd, dotted, errorNumber);
                std::string hex;
                for (char c : dl.digits) hex += "3" + std::string(1, c);
                // Equalities joined by OR, not an IN list: SQLite evaluates a list of three through a
                // table of its own each time, which costs more than the search it serves.
                out += "(" + name + " LIKE " + quoteLiteral(dl.digits) + " AND (" + name + " = " + dl.digits + " OR " +
                       name + " = " + quoteLiteral(dl.digits) + " OR " + name + " = X'" + hex + "'))";
                i = dl.pattern;
                continue;
            }
        }
        switch (k.kind) {
        case Token::Space: out += k.text; break;
        case Token::Bracket:
        case Token::Word: {
            // a.b that names one column of a view
            if (dotted && i + 2 < to && isPunct(t[i + 1], ".") && isName(t[i + 2])) {
                const std::string joined = k.value + "." + t[i + 2].value;
                if (dotted(joined)) {
                    out += quoteName(joined);
                    i += 2;
                    break;
                }
            }
            if (k.kind == Token::Bracket) {
                out += quoteName(k.value);
                break;
            }
            const std::string u = upper(k.text);
            const bool qualified = i > from && isPunct(t[i - 1], ".");
            if (u == "DISTINCTROW") {
                if (i + 1 < to && t[i + 1].kind == Token::Space) ++i;
            } else if (u == "MOD" && !qualified) {
                out += "%";
            } else if ((u == "TRUE" || u == "FALSE") && !qualified) {
                out += u == "TRUE" ? "-1" : "0";
            } else {
                out += k.text;
            }
            break;
        }
        case Token::DQuote: out += quoteLiteral(k.value); break;
        case Token::DateLit: fail(errorNumber, "Datumsangaben zwischen # werden nicht unterstützt: " + k.text);
        case Token::Punct:
            if (k.text == "!=") out += "<>";
            else out += k.text;
            break;
        default: out += k.text;
        }
        // Tokens taken along with this one (a dotted name) keep what the rewriting put at them.
        for (size_t j = first + 1; j <= i; ++j) out += before(j);
        for (size_t j = first; j <= i; ++j) out += after(j);
    }
    return out;
}

std::string columnSql(const std::string& name, FieldType type, int size, bool primaryKey, bool notNull, bool unique,
                      const std::string& defaultSql) {
    const std::string q = quoteName(name);
    std::string s = q + " ";
    auto range = [&](const char* lo, const char* hi) {
        return " CONSTRAINT " + quoteName("zuv_range_" + name) + " CHECK (" + q + " IS NULL OR (" + q + " = CAST(" + q +
               " AS INTEGER) AND " + q + " BETWEEN " + lo + " AND " + hi + "))";
    };
    std::string check;
    switch (type) {
    case FieldType::Counter: return q + " INTEGER PRIMARY KEY AUTOINCREMENT";
    case FieldType::Integer:
        s += "SHORT";
        check = range("-32768", "32767");
        break;
    case FieldType::Long:
        s += "LONG";
        check = range("-2147483648", "2147483647");
        break;
    case FieldType::Byte:
        s += "BYTE";
        check = range("0", "255");
        break;
    case FieldType::Boolean: s += "BIT"; break;
    case FieldType::Single: s += "SINGLE"; break;
    case FieldType::Double: s += "DOUBLE"; break;
    case FieldType::Currency: s += "CURRENCY"; break;
    case FieldType::Date: s += "DATETIME"; break;
    case FieldType::Text:
        s += "TEXT(" + std::to_string(size) + ") COLLATE NOCASE";
        check = " CONSTRAINT " + quoteName("zuv_len_" + name) + " CHECK (length(" + q + ") <= " + std::to_string(size) +
                ")";
        break;
    case FieldType::Memo: s += "LONGTEXT COLLATE NOCASE"; break;
    case FieldType::Variant: break;
    }
    if (primaryKey) s += " PRIMARY KEY";
    if (notNull) s += " NOT NULL";
    if (unique) s += " UNIQUE";
    if (!defaultSql.empty()) s += " DEFAULT " + defaultSql;
    else if (type == FieldType::Boolean) s += " DEFAULT 0";
    return s + check;
}

FieldType typeFromDecl(const std::string& declIn, int& size) {
    std::string d = upper(trimmed(declIn));
    size = 0;
    std::string base = d;
    const size_t paren = d.find('(');
    if (paren != std::string::npos) {
        base = trimmed(d.substr(0, paren));
        size = std::atoi(d.c_str() + paren + 1);
    }
    if (base == "SHORT" || base == "SMALLINT" || base == "INTEGER2") return FieldType::Integer;
    if (base == "LONG" || base == "INT" || base == "INTEGER" || base == "INTEGER4") return FieldType::Long;
    if (base == "BYTE" || base == "TINYINT") return FieldType::Byte;
    if (base == "BIT" || base == "BOOLEAN" || base == "YESNO" || base == "LOGICAL") return FieldType::Boolean;
    if (base == "SINGLE" || base == "FLOAT4") return FieldType::Single;
    if (base == "DOUBLE" || base == "REAL" || base == "FLOAT" || base == "FLOAT8") return FieldType::Double;
    if (base == "CURRENCY" || base == "MONEY") return FieldType::Currency;
    if (base == "DATETIME" || base == "DATE" || base == "TIME") return FieldType::Date;
    if ((base == "TEXT" || base == "VARCHAR" || base == "CHAR") && size > 0) return FieldType::Text;
    if (base == "TEXT" || base == "VARCHAR" || base == "LONGTEXT" || base == "MEMO" || base == "CLOB")
        return FieldType::Memo;
    return FieldType::Variant;
}

namespace {

// The Jet name of a column type in CREATE TABLE / ALTER TABLE.
bool jetType(const std::string& word, int arg, FieldType& type, int& size) {
    const std::string u = upper(word);
    size = 0;
    if (u == "COUNTER" || u == "AUTOINCREMENT" || u == "IDENTITY") type = FieldType::Counter;
    else if (u == "SHORT" || u == "SMALLINT" || u == "INTEGER2") type = FieldType::Integer;
    else if (u == "LONG" || u == "INT" || u == "INTEGER" || u == "INTEGER4") type = FieldType::Long;
    else if (u == "BYTE" || u == "TINYINT" || u == "INTEGER1") type = FieldType::Byte;
    else if (u == "BIT" || u == "YESNO" || u == "LOGICAL" || u == "LOGICAL1" || u == "BOOLEAN") type = FieldType::Boolean;
    else if (u == "SINGLE" || u == "REAL" || u == "FLOAT4" || u == "IEEESINGLE") type = FieldType::Single;
    else if (u == "DOUBLE" || u == "FLOAT" || u == "FLOAT8" || u == "IEEEDOUBLE" || u == "NUMBER")
        type = FieldType::Double;
    else if (u == "CURRENCY" || u == "MONEY") type = FieldType::Currency;
    else if (u == "DATETIME" || u == "DATE" || u == "TIME" || u == "TIMESTAMP") type = FieldType::Date;
    else if (u == "TEXT" || u == "CHAR" || u == "VARCHAR" || u == "CHARACTER" || u == "STRING" || u == "ALPHANUMERIC" ||
             u == "NCHAR" || u == "NVARCHAR") {
        type = FieldType::Text;
        size = arg > 0 ? arg : 255;
        if (size > 255) fail(vb::err::FieldDefinitionSyntaxError, "TEXT(" + std::to_string(size) + ")");
    } else if (u == "LONGTEXT" || u == "MEMO" || u == "NOTE" || u == "LONGCHAR") type = FieldType::Memo;
    else return false;
    return true;
}

// One column definition of CREATE TABLE / ALTER TABLE ADD, tokens without blanks.
std::string columnFromTokens(const std::vector<Token>& t, const std::vector<size_t>& sig, size_t a, size_t b,
                             const DottedNames& dotted) {
    if (a >= b || !isName(t[sig[a]])) fail(vb::err::FieldDefinitionSyntaxError, "Feldname erwartet");
    const std::string name = t[sig[a]].value;
    size_t i = a + 1;
    if (i >= b || t[sig[i]].kind != Token::Word) fail(vb::err::FieldDefinitionSyntaxError, "Datentyp fehlt bei " + name);
    const std::string typeWord = t[sig[i]].text;
    ++i;
    int arg = 0;
    if (i < b && isPunct(t[sig[i]], "(")) {
        size_t j = i + 1;
        if (j < b && t[sig[j]].kind == Token::Number) arg = std::atoi(t[sig[j]].text.c_str());
        while (j < b && !isPunct(t[sig[j]], ")")) ++j;
        if (j >= b) fail(vb::err::FieldDefinitionSyntaxError, "fehlende Klammer bei " + name);
        i = j + 1;
    }
    FieldType type;
    int size;
    if (!jetType(typeWord, arg, type, size))
        fail(vb::err::FieldDefinitionSyntaxError, "unbekannter Datentyp " + typeWord);
    bool primary = false, notNull = false, unique = false;
    std::string dflt;
    while (i < b) {
        const Token& k = t[sig[i]];
        if (isWord(k, "NOT") && i + 1 < b && isWord(t[sig[i + 1]], "NULL")) {
            notNull = true;
            i += 2;
        } else if (isWord(k, "NULL")) ++i;
        else if (isWord(k, "PRIMARY") && i + 1 < b && isWord(t[sig[i + 1]], "KEY")) {
            primary = true;
            i += 2;
        } else if (isWord(k, "UNIQUE")) {
            unique = true;
            ++i;
        } else if (isWord(k, "CONSTRAINT") && i + 1 < b) i += 2;
        else if (isWord(k, "WITH") && i + 1 < b) i += 2;  // WITH COMPRESSION / COMP
        else if (isWord(k, "DEFAULT") && i + 1 < b) {
            dflt = translateTokens(t, sig[i + 1], sig[i + 1] + 1, dotted, vb::err::FieldDefinitionSyntaxError);
            if (i + 1 < b && isPunct(t[sig[i + 1]], "-") && i + 2 < b) {
                dflt = "-" + t[sig[i + 2]].text;
                ++i;
            }
            i += 2;
        } else fail(vb::err::FieldDefinitionSyntaxError, "unbekannte Angabe " + k.text + " bei " + name);
    }
    if (type == FieldType::Counter) primary = false;
    return columnSql(name, type, size, primary, notNull, unique, dflt);
}

std::string createTable(const std::vector<Token>& t, const DottedNames& dotted) {
    const auto sig = significant(t);
    // CREATE TABLE name ( ... )
    if (sig.size() < 5 || !isName(t[sig[2]]) || !isPunct(t[sig[3]], "(") || !isPunct(t[sig.back()], ")"))
        fail(vb::err::FieldDefinitionSyntaxError, "CREATE TABLE");
    const std::string table = t[sig[2]].value;
    // A counter is the table's key in SQLite; another key of the table becomes a unique constraint.
    bool hasCounter = false;
    for (size_t k = 4; k < sig.size(); ++k) {
        const std::string u = upper(t[sig[k]].text);
        if (t[sig[k]].kind == Token::Word && (u == "COUNTER" || u == "AUTOINCREMENT" || u == "IDENTITY"))
            hasCounter = true;
    }
    std::vector<std::string> defs;
    size_t start = 4;
    int depth = 0;
    for (size_t k = 4; k < sig.size(); ++k) {
        const Token& tok = t[sig[k]];
        if (isPunct(tok, "(")) ++depth;
        if (isPunct(tok, ")") && depth > 0) {
            --depth;
            continue;
        }
        const bool last = k == sig.size() - 1;
        if ((isPunct(tok, ",") && depth == 0) || last) {
            if (k == start) fail(vb::err::FieldDefinitionSyntaxError, "leere Felddefinition");
            const Token& first = t[sig[start]];
            if (isWord(first, "CONSTRAINT") || isWord(first, "PRIMARY") || isWord(first, "UNIQUE") ||
                isWord(first, "FOREIGN") || isWord(first, "CHECK")) {
                size_t from = start;
                if (isWord(first, "CONSTRAINT")) from += 2;
                if (from >= k) fail(vb::err::FieldDefinitionSyntaxError, "CONSTRAINT");
                if (hasCounter && isWord(t[sig[from]], "PRIMARY") && from + 1 < k && isWord(t[sig[from + 1]], "KEY"))
                    defs.push_back("UNIQUE " + trimmed(translateTokens(t, sig[from + 1] + 1, sig[k], dotted,
                                                                       vb::err::FieldDefinitionSyntaxError)));
                else
                    defs.push_back(
                        trimmed(translateTokens(t, sig[from], sig[k], dotted, vb::err::FieldDefinitionSyntaxError)));
            } else {
                std::string def = columnFromTokens(t, sig, start, k, dotted);
                const size_t pk = def.find(" PRIMARY KEY");
                if (hasCounter && pk != std::string::npos && def.find("AUTOINCREMENT") == std::string::npos)
                    def.replace(pk, 12, " UNIQUE");
                defs.push_back(def);
            }
            start = k + 1;
        }
    }
    std::string sql = "CREATE TABLE " + quoteName(table) + " (";
    for (size_t i = 0; i < defs.size(); ++i) sql += (i ? ", " : "") + defs[i];
    return sql + ")";
}

std::string indexName(const std::string& table, const std::string& index) { return table + "_" + index; }

std::string createIndex(const std::vector<Token>& t, const DottedNames& dotted) {
    const auto sig = significant(t);
    size_t i = 1;
    bool unique = false;
    if (isWord(t[sig[i]], "UNIQUE")) {
        unique = true;
        ++i;
    }
    // INDEX name ON table ( cols ) [WITH ...]
    if (sig.size() < i + 6 || !isWord(t[sig[i]], "INDEX") || !isName(t[sig[i + 1]]) || !isWord(t[sig[i + 2]], "ON") ||
        !isName(t[sig[i + 3]]) || !isPunct(t[sig[i + 4]], "("))
        fail(vb::err::SyntaxError, "CREATE INDEX");
    const std::string name = t[sig[i + 1]].value, table = t[sig[i + 3]].value;
    size_t close = i + 5;
    while (close < sig.size() && !isPunct(t[sig[close]], ")")) ++close;
    if (close >= sig.size()) fail(vb::err::SyntaxError, "CREATE INDEX");
    std::string cols = translateTokens(t, sig[i + 5], sig[close], dotted, vb::err::SyntaxError);
    for (size_t k = close + 1; k < sig.size(); ++k) {
        const std::string u = upper(t[sig[k]].text);
        if (u == "WITH" || u == "PRIMARY" || u == "DISALLOW" || u == "IGNORE" || u == "NULL") continue;
        fail(vb::err::SyntaxError, "CREATE INDEX: " + t[sig[k]].text);
    }
    return std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + quoteName(indexName(table, name)) + " ON " +
           quoteName(table) + " (" + cols + ")";
}

// The position of the "IN '<file>'" clause at the end of a statement and the file it names. The
// file name is taken between the first quote after IN and the last quote of the statement, so a
// name holding an apostrophe works without being doubled.
bool splitInClause(const std::string& s, std::string& body, std::string& path) {
    if (s.empty() || s.back() != '\'') return false;
    for (size_t q = 0; q + 1 < s.size(); ++q) {
        if (s[q] != '\'') continue;
        size_t e = q;
        while (e > 0 && vb::ascii::isSpace(s[e - 1])) --e;
        if (e < 3) continue;
        if (upper(s.substr(e - 2, 2)) != "IN") continue;
        const char before = s[e - 3];
        if (!(vb::ascii::isSpace(before) || before == ']' || before == '"')) continue;
        body = s.substr(0, e - 2);
        path = s.substr(q + 1, s.size() - q - 2);
        return true;
    }
    return false;
}

}  // namespace

namespace {
// One statement only: text after its end would otherwise be dropped without a word.
void requireOneStatement(const std::vector<Token>& t, int errorNumber) {
    for (const auto& k : t)
        if (isPunct(k, ";"))
            fail(errorNumber == vb::err::CriteriaSyntaxError ? vb::err::CriteriaSyntaxError
                                                             : vb::err::CharactersAfterStatementEnd);
}
}  // namespace

Statement translateStatement(const std::string& jet, const DottedNames& dotted) {
    Statement st;
    std::string text = withoutEnd(jet);
    // The IN clause is split off before the text is read as tokens.
    std::string inPath;
    {
        std::string head = upper(text.substr(0, 6));
        std::string body, path;
        if (head == "SELECT" && splitInClause(text, body, path)) {
            text = withoutEnd(body);
            inPath = path;
            if (inPath.empty()) fail(vb::err::PathNotFound, "IN ''");
        }
    }
    const auto t = tokenize(text, vb::err::SyntaxError);
    requireOneStatement(t, vb::err::SyntaxError);
    const auto sig = significant(t);
    if (sig.empty()) fail(vb::err::InvalidSqlStatement);
    const std::string verb = upper(t[sig[0]].text);
    if (verb == "SELECT") {
        // SELECT list INTO name FROM …
        int depth = 0;
        size_t into = 0, fromPos = 0;
        for (size_t k = 1; k < sig.size(); ++k) {
            const Token& tok = t[sig[k]];
            if (countBracket(tok, depth)) continue;
            if (depth == 0 && isWord(tok, "INTO") && !into) into = k;
            else if (depth == 0 && isWord(tok, "FROM") && !fromPos) fromPos = k;
        }
        if (into) {
            if (into + 1 >= sig.size() || !isName(t[sig[into + 1]]) || !fromPos || fromPos != into + 2)
                fail(vb::err::SyntaxError, "SELECT … INTO");
            st.kind = Statement::SelectInto;
            st.intoTable = t[sig[into + 1]].value;
            st.inPath = inPath;
            st.sql = "SELECT" + translateTokens(t, sig[0] + 1, sig[into], dotted, vb::err::SyntaxError) + " " +
                     translateTokens(t, sig[fromPos], t.size(), dotted, vb::err::SyntaxError);
            return st;
        }
        if (!inPath.empty()) fail(vb::err::SyntaxError, "IN '<Datei>' nur mit SELECT … INTO");
        st.kind = Statement::Select;
        st.sql = translateTokens(t, 0, t.size(), dotted, vb::err::SyntaxError);
        return st;
    }
    if (verb == "INSERT") st.kind = Statement::Insert;
    else if (verb == "UPDATE") st.kind = Statement::Update;
    else if (verb == "DELETE") {
        st.kind = Statement::Delete;
        // DELETE * FROM t / DELETE t.* FROM t
        size_t k = 1;
        while (k < sig.size() && !isWord(t[sig[k]], "FROM")) ++k;
        if (k >= sig.size()) fail(vb::err::SyntaxError, "DELETE ohne FROM");
        st.sql = "DELETE " + translateTokens(t, sig[k], t.size(), dotted, vb::err::SyntaxError);
        return st;
    } else if (verb == "CREATE") {
        if (sig.size() < 2) fail(vb::err::InvalidSqlStatement);
        const std::string what = upper(t[sig[1]].text);
        if (what == "TABLE") {
            st.kind = Statement::CreateTable;
            st.sql = createTable(t, dotted);
        } else if (what == "INDEX" || what == "UNIQUE") {
            st.kind = Statement::CreateIndex;
            st.sql = createIndex(t, dotted);
        } else if (what == "VIEW") {
            st.kind = Statement::CreateView;
            st.sql = translateTokens(t, 0, t.size(), dotted, vb::err::SyntaxError);
            // CREATE VIEW name AS SELECT …: the columns are named when the view is made.
            if (sig.size() > 4 && isName(t[sig[2]]) && isWord(t[sig[3]], "AS") && isWord(t[sig[4]], "SELECT")) {
                st.viewName = t[sig[2]].value;
                st.viewSelect = translateTokens(t, sig[4], t.size(), dotted, vb::err::SyntaxError);
            }
        } else fail(vb::err::InvalidSqlStatement, text);
        return st;
    } else if (verb == "DROP") {
        st.kind = Statement::Drop;
        // DROP INDEX name ON table
        if (sig.size() >= 5 && isWord(t[sig[1]], "INDEX") && isWord(t[sig[3]], "ON")) {
            st.sql = "DROP INDEX " + quoteName(indexName(t[sig[4]].value, t[sig[2]].value));
            return st;
        }
    } else if (verb == "ALTER") {
        st.kind = Statement::Alter;
        // ALTER TABLE t ADD [COLUMN] definition
        if (sig.size() >= 5 && isWord(t[sig[1]], "TABLE") && isWord(t[sig[3]], "ADD")) {
            size_t k = 4;
            if (isWord(t[sig[k]], "COLUMN")) ++k;
            st.sql = "ALTER TABLE " + quoteName(t[sig[2]].value) + " ADD COLUMN " +
                     columnFromTokens(t, sig, k, sig.size(), dotted);
            return st;
        }
    } else {
        fail(vb::err::InvalidSqlStatement, text);
    }
    st.sql = translateTokens(t, 0, t.size(), dotted, vb::err::SyntaxError);
    return st;
}

SelectParts parseSelect(const std::string& jet, const DottedNames& dotted) {
    const std::string text = withoutEnd(jet);
    const auto t = tokenize(text, vb::err::SyntaxError);
    requireOneStatement(t, vb::err::SyntaxError);
    const auto sig = significant(t);
    if (sig.empty() || !isWord(t[sig[0]], "SELECT")) fail(vb::err::InvalidSqlStatement, text);
    size_t fromPos = 0, orderPos = 0;
    bool complex = false, compound = false;
    int depth = 0;
    for (size_t k = 1; k < sig.size(); ++k) {
        const Token& tok = t[sig[k]];
        if (countBracket(tok, depth)) continue;
        if (depth) continue;
        const std::string u = tok.kind == Token::Word ? upper(tok.text) : "";
        if (u == "FROM" && !fromPos) fromPos = k;
        else if (u == "ORDER" && k + 1 < sig.size() && isWord(t[sig[k + 1]], "BY")) orderPos = k;
        else if (u == "UNION") complex = compound = true;
        else if (u == "DISTINCT" || u == "GROUP" || u == "HAVING" || u == "JOIN" || u == "TOP" || u == "INTO")
            complex = true;
        else if (!fromPos && (u == "COUNT" || u == "SUM" || u == "AVG" || u == "MIN" || u == "MAX") &&
                 k + 1 < sig.size() && isPunct(t[sig[k + 1]], "("))
            complex = true;
    }
    if (!fromPos) fail(vb::err::SyntaxError, "FROM fehlt: " + text);
    SelectParts p;
    p.selectList = trimmed(translateTokens(t, sig[0] + 1, sig[fromPos], dotted, vb::err::SyntaxError));
    const size_t fromEnd = orderPos ? sig[orderPos] : t.size();
    p.fromPart = trimmed(translateTokens(t, sig[fromPos], fromEnd, dotted, vb::err::SyntaxError));
    if (orderPos) {
        std::vector<std::pair<size_t, size_t>> terms;
        size_t a = orderPos + 2;
        int d = 0;
        for (size_t k = a; k <= sig.size(); ++k) {
            if (k < sig.size()) countBracket(t[sig[k]], d);
            if (k == sig.size() || (d == 0 && isPunct(t[sig[k]], ","))) {
                if (k == a) fail(vb::err::SyntaxError, "ORDER BY");
                terms.push_back({a, k});
                a = k + 1;
            }
        }
        bool sortKeysOnly = true;
        for (auto [ta, tb] : terms) {
            size_t end = tb;
            std::string dir;
            if (isWord(t[sig[tb - 1]], "ASC") || isWord(t[sig[tb - 1]], "DESC")) {
                dir = " " + upper(t[sig[tb - 1]].text);
                --end;
            }
            if (end == ta) fail(vb::err::SyntaxError, "ORDER BY");
            // Text sorts in German order. Sorting by each value's German sort key gives the order
            // the collation gives, and costs one key a row instead of the collation at every
            // comparison; a term that names an output column by its number, and a term of a
            // compound query, which must name one, keep the collation.
            const std::string term = trimmed(translateTokens(t, sig[ta], sig[end - 1] + 1, dotted, vb::err::SyntaxError));
            const bool position = end == ta + 1 && t[sig[ta]].kind == Token::Number;
            if (compound || position) {
                p.orderTerms.push_back(term + " COLLATE " + kCollation + dir);
                sortKeysOnly = false;
            } else {
                p.orderTerms.push_back(std::string(kSortKey) + "(" + term + ")" + dir);
                p.sortKeys.push_back(std::string(kSortKey) + "(" + term + ")");
                p.descending.push_back(dir == " DESC");
            }
        }
        if (!sortKeysOnly) {
            p.sortKeys.clear();
            p.descending.clear();
        }
    }
    // One source table: FROM name [AS alias] [WHERE …]
    if (!complex && fromPos + 1 < sig.size() && isName(t[sig[fromPos + 1]])) {
        size_t k = fromPos + 2;
        std::string qualifier = quoteName(t[sig[fromPos + 1]].value);
        if (k < sig.size() && isWord(t[sig[k]], "AS")) ++k;
        std::string alias;
        if (k < sig.size() && isName(t[sig[k]]) && !clauseWords().count(upper(t[sig[k]].text))) {
            qualifier = quoteName(t[sig[k]].value);
            alias = " " + qualifier;
            ++k;
        }
        const bool endOk = k == sig.size() || k == orderPos || isWord(t[sig[k]], "WHERE");
        if (endOk) {
            p.table = t[sig[fromPos + 1]].value;
            p.qualifier = qualifier;
            p.tableFrom = "FROM " + quoteName(p.table) + alias;
            p.wholeTable = k == sig.size() || k == orderPos;
        }
    }
    return p;
}

std::string buildSelect(const SelectParts& p, bool withRowid) {
    std::string sql = "SELECT ";
    if (withRowid) sql += p.qualifier + ".rowid AS " + kRowidColumn + ", ";
    sql += p.selectList + " " + p.fromPart;
    std::vector<std::string> terms = p.orderTerms;
    if (withRowid) terms.push_back(p.qualifier + ".rowid");
    for (size_t i = 0; i < terms.size(); ++i) sql += (i ? ", " : " ORDER BY ") + terms[i];
    return sql;
}

std::vector<std::string> sourceNames(const std::string& jet) {
    std::vector<std::string> out;
    std::vector<Token> t;
    try {
        t = tokenize(jet, vb::err::SyntaxError);
    } catch (const vb::Error&) {
        return out;  // the statement itself reports the fault
    }
    const auto sig = significant(t);
    bool inFrom = false;
    int depth = 0, fromDepth = 0;
    for (size_t k = 0; k < sig.size(); ++k) {
        const Token& tok = t[sig[k]];
        if (countBracket(tok, depth)) continue;
        const bool next = k + 1 < sig.size() && isName(t[sig[k + 1]]);
        if (isWord(tok, "FROM") || isWord(tok, "JOIN")) {
            inFrom = true;
            fromDepth = depth;
            // "FROM (a INNER JOIN b …)": the name follows the brackets.
            size_t n = k + 1;
            while (n < sig.size() && isPunct(t[sig[n]], "(")) ++n;
            if (n < sig.size() && isName(t[sig[n]])) out.push_back(t[sig[n]].value);
        } else if (inFrom && depth == fromDepth && isPunct(tok, ",") && next) {
            out.push_back(t[sig[k + 1]].value);
        } else if (tok.kind == Token::Word && depth <= fromDepth &&
                   (isWord(tok, "WHERE") || isWord(tok, "ORDER") || isWord(tok, "GROUP") || isWord(tok, "HAVING") ||
                    isWord(tok, "ON"))) {
            inFrom = false;
        }
    }
    return out;
}

std::string dropTableName(const std::string& jet) {
    const auto t = tokenize(withoutEnd(jet), vb::err::SyntaxError);
    const auto sig = significant(t);
    if (sig.size() >= 3 && isWord(t[sig[0]], "DROP") && isWord(t[sig[1]], "TABLE") && isName(t[sig[2]]))
        return t[sig[2]].value;
    return "";
}

std::string buildKeySelect(const SelectParts& p) {
    std::string sql = "SELECT " + p.qualifier + ".rowid " + p.fromPart;
    std::vector<std::string> terms = p.orderTerms;
    terms.push_back(p.qualifier + ".rowid");
    for (size_t i = 0; i < terms.size(); ++i) sql += (i ? ", " : " ORDER BY ") + terms[i];
    return sql;
}

std::string buildOrderOfTwo(const SelectParts& p) {
    std::string sql = "SELECT " + p.qualifier + ".rowid AS " + kRowidColumn + ", " + p.selectList + " " + p.tableFrom +
                      " WHERE " + p.qualifier + ".rowid IN (?1, ?2)";
    std::vector<std::string> terms = p.orderTerms;
    terms.push_back(p.qualifier + ".rowid");
    for (size_t i = 0; i < terms.size(); ++i) sql += (i ? ", " : " ORDER BY ") + terms[i];
    return sql + " LIMIT 1";
}

std::string buildSortKeySelect(const SelectParts& p) {
    if (!p.wholeTable || p.sortKeys.empty() || p.sortKeys.size() != p.orderTerms.size()) return "";
    std::string sql = "SELECT " + p.qualifier + ".rowid";
    for (const auto& k : p.sortKeys) sql += ", " + k;
    return sql + " " + p.tableFrom + " ORDER BY " + p.qualifier + ".rowid";
}

std::string buildRowFetch(const SelectParts& p, int count, const std::string& extraColumns) {
    std::string sql = "SELECT " + p.qualifier + ".rowid AS " + kRowidColumn + ", " + p.selectList +
                      (extraColumns.empty() ? "" : ", " + extraColumns) + " " + p.tableFrom + " WHERE " + p.qualifier +
                      ".rowid IN (";
    for (int i = 1; i <= count; ++i) sql += (i > 1 ? ", ?" : "?") + std::to_string(i);
    return sql + ")";
}

namespace {

// The criterion translated, its names taken as the given fields (dotted ones as one name).
std::string criteriaWhere(const std::vector<Token>& t, const std::string& criteria,
                          const std::vector<std::string>& names) {
    requireOneStatement(t, vb::err::CriteriaSyntaxError);
    if (significant(t).empty()) raise(vb::err::CriteriaSyntaxError, criteria);
    std::set<std::string> dottedNames;
    for (const auto& n : names)
        if (n.find('.') != std::string::npos) dottedNames.insert(foldName(n));
    return translateTokens(
        t, 0, t.size(), [&](const std::string& n) { return dottedNames.count(foldName(n)) > 0; },
        vb::err::CriteriaSyntaxError);
}

}  // namespace

std::string criteriaQuery(const std::string& criteria, const std::vector<std::string>& names) {
    const std::string where = criteriaWhere(tokenize(criteria, vb::err::CriteriaSyntaxError), criteria, names);
    std::string sql = "SELECT 1 FROM (SELECT ";
    for (size_t i = 0; i < names.size(); ++i)
        sql += (i ? ", ?" : "?") + std::to_string(i + 1) + " AS " + quoteName(names[i]);
    if (names.empty()) sql += "NULL";
    return sql + ") WHERE (" + where + ")";
}

std::string criteriaRowsQuery(const std::string& criteria, const std::vector<std::string>& names,
                              const std::string& rowsSql, const std::function<bool(const std::string&)>& wholeNumber) {
    const auto t = tokenize(criteria, vb::err::CriteriaSyntaxError);
    static const std::set<std::string> words = {"AND", "OR", "NOT", "IS", "NULL", "LIKE", "IN", "BETWEEN"};
    static const std::set<std::string> puncts = {"=", "<", ">", "<=", ">=", "<>", "!=", "(", ")", ",", "+", "-"};
    for (size_t i = 0; i < t.size(); ++i) {
        const Token& k = t[i];
        switch (k.kind) {
        case Token::Space:
        case Token::Number: break;
        case Token::Punct:
            if (!puncts.count(k.text)) return "";
            break;
        case Token::Word:
            if (words.count(upper(k.text))) break;
            [[fallthrough]];
        case Token::Bracket: {
            const size_t n = nextSignificant(t, i + 1, t.size());
            if (!wholeNumber(k.value) || (n < t.size() && isPunct(t[n], "("))) return "";
            break;
        }
        default: return "";
        }
    }
    return "SELECT " + std::string(kRowidColumn) + " FROM (" + rowsSql + ") WHERE (" + criteriaWhere(t, criteria, names) +
           ")";
}

}  // namespace db::detail
