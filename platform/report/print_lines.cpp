// The print lines: the rows (page, line, text, format code) a report is fed with, set as the
// layout's line styles say. Every page of the rows starts on a new sheet; a page longer than a
// sheet goes on on the next. Lines of a table style are cut into cells at tabs and at runs of two
// or more blanks and set in columns that line up over the whole page; fixed-pitch lines of a page
// share one size, small enough for the widest of them; a line of macrons (U+00AF) is a rule.

#include <QFontMetricsF>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "platform/report/blocks.h"

namespace report::detail {

namespace {

constexpr double kCellPadding = 60;  // twips left and right of a cell's text
constexpr double kMinCellPadding = 20;
constexpr double kCellPaddingV = 25;  // above and below
constexpr double kMinTableScale = 0.55;
constexpr double kMinMonoScale = 0.5;
constexpr double kMinHeadScale = 0.7;
constexpr int32_t kGridColour = 0x808080;
constexpr int32_t kShadeColour = 0xEEEEEE;

struct Row {
    int page = 0;
    long line = 0;
    QString text;
    // What the passes over the rows read of a row, found once.
    LineStyle style;             // the style of its format code
    bool rule = false;           // a line of macrons
    std::vector<QString> cells;  // a line of a table style: its cells
};

bool isRule(const QString& text) {
    int macrons = 0;
    for (QChar c : text) {
        if (c == QChar(0x00AF)) ++macrons;
        else if (c != QLatin1Char(' ')) return false;
    }
    return macrons >= 3;
}

std::vector<QString> cellsOf(const QString& text) {
    std::vector<QString> out;
    QString cur;
    int blanks = 0;
    auto flush = [&] {
        const QString t = cur.trimmed();
        if (!t.isEmpty()) out.push_back(t);
        cur.clear();
        blanks = 0;
    };
    for (QChar c : text) {
        if (c == QLatin1Char('\t')) {
            flush();
        } else if (c == QLatin1Char(' ')) {
            ++blanks;
        } else {
            if (blanks >= 2) flush();
            else if (blanks == 1 && !cur.isEmpty()) cur += QLatin1Char(' ');
            blanks = 0;
            cur += c;
        }
    }
    flush();
    return out;
}

QString expandTabs(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c == QLatin1Char('\t')) {
            do out += QLatin1Char(' ');
            while (out.size() % 8 != 0);
        } else {
            out += c;
        }
    }
    return out;
}

TextFont scaled(TextFont f, double factor) {
    f.size = std::max(4.0, f.size * factor);
    return f;
}

// Columns of the table lines of one page.
struct Columns {
    std::vector<double> width;
    double scale = 1;
    double padding = kCellPadding;
};

// A table is laid out from its widest cells: a table wider than the sheet is set smaller, down to
// the smallest legible size, and then gives up some of the space beside its texts; no cell is cut.
Columns tableColumns(const std::vector<const Row*>& rows, double width) {
    Columns c;
    std::size_t n = 0;
    for (const Row* r : rows) n = std::max(n, r->cells.size());
    // The widths measured in the fonts the cells are printed in, not scaled from the full size:
    // small sizes do not shrink text in proportion, and the space beside a text stays as it is.
    const auto messen = [&](double scale, double padding) {
        std::vector<double> w(n, 0);
        for (const Row* r : rows) {
            const Measure& fm = metrics(scaled(r->style.font, scale));
            for (std::size_t i = 0; i < r->cells.size(); ++i) w[i] = std::max(w[i], fm.width(r->cells[i]) + 2 * padding);
        }
        return w;
    };
    const auto summe = [](const std::vector<double>& w) {
        double t = 0;
        for (double x : w) t += x;
        return t;
    };
    std::vector<double> natural = messen(c.scale, c.padding);
    while (summe(natural) > width && c.scale > kMinTableScale) {
        c.scale = std::max(kMinTableScale, c.scale - 0.025);
        natural = messen(c.scale, c.padding);
    }
    while (summe(natural) > width && c.padding > kMinCellPadding) {
        c.padding = std::max(kMinCellPadding, c.padding - 10);
        natural = messen(c.scale, c.padding);
    }
    c.width = natural;
    if (n < 2) return c;
    // The label column keeps its width; the value columns share the rest alike.
    const double rest = width - c.width[0];
    double widest = 0, others = 0;
    for (std::size_t i = 1; i < n; ++i) {
        widest = std::max(widest, c.width[i]);
        others += c.width[i];
    }
    if (widest * (n - 1) <= rest) {
        for (std::size_t i = 1; i < n; ++i) c.width[i] = rest / (n - 1);
    } else if (others < rest) {
        for (std::size_t i = 1; i < n; ++i) c.width[i] += (rest - others) / (n - 1);
    }
    return c;
}

Block gridRow(const std::vector<QString>& cells, const LineStyle& style, const Columns& cols, double left) {
    Block b;
    const TextFont font = scaled(style.font, cols.scale);
    const Measure& fm = metrics(font);
    const double rowHeight = fm.lineSpacing() + 2 * kCellPaddingV;
    b.height = rowHeight + style.before + style.after;
    double x = left;
    for (std::size_t i = 0; i < cols.width.size(); ++i) {
        const double w = cols.width[i];
        if (style.grid) {
            Item box;
            box.type = Item::Type::Box;
            box.x = x;
            box.y = style.before;
            box.w = w;
            box.h = rowHeight;
            box.thickness = 10;
            box.color = kGridColour;
            if (style.font.bold) {
                Item shade = box;
                shade.filled = true;
                shade.thickness = 0;
                shade.color = kShadeColour;
                b.items.push_back(shade);
            }
            b.items.push_back(box);
        }
        if (i < cells.size()) {
            // The columns were made to hold every cell whole.
            Item t = textItem(cells[i], font, x + cols.padding, style.before + kCellPaddingV, style.color);
            // Labels stand left, values right, so that digits line up.
            if (i > 0) t.x = x + w - cols.padding - t.w;
            b.items.push_back(t);
        }
        x += w;
    }
    return b;
}

// Where the cells of a fixed-pitch line start, in characters: its first character, every
// character after a run of two or more blanks, and the end of a line that ends in such a run (a
// cell left empty there, as the class of a row that has none).
std::vector<int> cellStarts(const QString& text) {
    std::vector<int> starts;
    int blanks = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char(' ')) {
            ++blanks;
            continue;
        }
        if (i == blanks || blanks >= 2) starts.push_back(i);
        blanks = 0;
    }
    if (blanks >= 2 && blanks < text.size()) starts.push_back(static_cast<int>(text.size()));
    return starts;
}

// The columns of a page's fixed-pitch lines: the cell starts that more than half of them share.
std::vector<int> sharedColumns(const std::vector<QString>& lines) {
    std::map<int, int> count;
    for (const QString& l : lines)
        for (int s : cellStarts(l)) ++count[s];
    std::vector<int> columns;
    for (const auto& [start, n] : count)
        if (2 * n > static_cast<int>(lines.size())) columns.push_back(start);
    return columns;
}

// The parts of a line of ordinary text that stand apart by long runs of blanks: the column heads
// over a page's fixed-pitch lines, written for the blanks of a proportional font. A part at the
// line's start stays at the left edge; the others stand over the columns the fixed-pitch lines
// share, the last part over the last column, the one before it over the column before, so that a
// head of two lines has both over its column. Without such columns (or with more parts than
// columns) each part starts at its character's column.
struct HeadPart {
    int at;  // the character column it stands at
    QString text;
};

std::vector<HeadPart> headParts(const QString& text, const std::vector<int>& columns) {
    std::vector<HeadPart> parts;
    const int n = text.size();
    for (int i = 0; i < n;) {
        while (i < n && text[i] == QLatin1Char(' ')) ++i;
        if (i >= n) break;
        int j = i;
        while (j < n && !(text[j] == QLatin1Char(' ') && (j + 1 == n || text[j + 1] == QLatin1Char(' ')))) ++j;
        parts.push_back({i, text.mid(i, j - i)});
        i = j;
    }
    std::vector<int> heads;
    for (int c : columns)
        if (c > 0) heads.push_back(c);
    const std::size_t first = !parts.empty() && parts.front().at == 0 ? 1 : 0;
    if (parts.size() > first && parts.size() - first <= heads.size())
        for (std::size_t k = first; k < parts.size(); ++k) parts[k].at = heads[heads.size() - (parts.size() - k)];
    return parts;
}

// Consecutive lines of column heads, set as one block: each head stands at its column and wraps
// at its blanks within the room up to the next head's column (the last one: the right edge),
// keeping a column's width clear before that head; a line's heads start below what the lines
// before left in their columns, so that a head of two lines has both over its column.
struct HeadGroup {
    std::vector<const Row*> rows;
    std::vector<std::vector<HeadPart>> parts;  // per row

    // The room of the head at column `at`, in twips: up to a column's width before the next head.
    double span(int at, double column, double room) const {
        int next = -1;
        for (const auto& row : parts)
            for (const HeadPart& p : row)
                if (p.at > at && (next < 0 || p.at < next)) next = p.at;
        return next < 0 ? room - at * column : (next - at) * column - column;
    }

    // The size, as a share of the styles', at which every word of every head fits its room;
    // never below kMinHeadScale.
    double scale(double column, double room) const {
        double scale = 1;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const Measure& fm = metrics(rows[r]->style.font);
            for (const HeadPart& p : parts[r]) {
                const double span = this->span(p.at, column, room);
                for (const QString& word : p.text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                    const double w = fm.width(word);
                    if (w > 0 && span < w) scale = std::min(scale, std::max(kMinHeadScale, span / w));
                }
            }
        }
        return scale;
    }

    // The block, or nothing when a word does not fit its room even at `scale`.
    std::optional<Block> block(double scale, double column, double x, double room) const {
        double pitch = 0;
        for (const Row* r : rows) pitch = std::max(pitch, metrics(scaled(r->style.font, scale)).lineSpacing());
        const LineStyle& first = rows.front()->style;
        Block b;
        std::map<int, int> depth;  // lines used in each column so far
        int deepest = 0;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const LineStyle& st = rows[r]->style;
            const TextFont font = scaled(st.font, scale);
            const Measure& fm = metrics(font);
            int top = 0;
            for (const HeadPart& p : parts[r]) top = std::max(top, depth[p.at]);
            for (const HeadPart& p : parts[r]) {
                const double span = this->span(p.at, column, room);
                const auto lines = wrap(p.text, fm, span);
                int line = top;
                for (const QString& text : lines) {
                    const double w = fm.width(text);
                    if (w > span + 0.5) return std::nullopt;
                    // A head that would run past the right edge ends at it.
                    const double at = std::min(x + p.at * column, x + room - w);
                    b.items.push_back(textItem(text, font, at, first.before + line * pitch, st.color));
                    ++line;
                }
                depth[p.at] = line;
                deepest = std::max(deepest, line);
            }
        }
        b.height = deepest * pitch + first.before + rows.back()->style.after;
        return b;
    }
};

bool isQuote(QChar c) {
    switch (c.unicode()) {
    case '\'':
    case '"':
    case 0x00AB:
    case 0x00BB:
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201C:
    case 0x201D:
    case 0x201E: return true;
    default: return false;
    }
}

bool isMark(QChar c) {
    return c == QLatin1Char(',') || c == QLatin1Char(';') || c == QLatin1Char('.') || c == QLatin1Char(':') ||
           c == QLatin1Char('!') || c == QLatin1Char('?') || c == QLatin1Char(')');
}

// A line that is one number alone: a sign, digits, a decimal part, a percent sign.
bool isNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?\\d+([.,]\\d+)?\\s*%?\\s*$"));
    return number.match(text).hasMatch();
}

bool endsOrLeadsIn(QChar last) {
    return last == QLatin1Char('.') || last == QLatin1Char(':') || last == QLatin1Char('!') || last == QLatin1Char('?');
}

// The longest text that counts as the unit after a number ("Punkte", "(Punkte von -2 bis +4)").
constexpr int kUnitLength = 30;

// Whether line `b` goes on with the sentence of line `a`, the page builders writing a sentence
// in pieces (a designation between two label texts, a label text in two halves, a label, its
// number and its unit): `a` does not end as a sentence or a lead-in does, and it leaves the
// sentence open (a comma, an opening quote at its end) or `b` plainly goes on with it (a closing
// quote, a punctuation mark or a small letter at its start). A lead-in ending in ":" goes on with
// a number alone, and a number with a short text after it that neither ends nor leads in.
bool continues(const QString& a, const QString& b) {
    int e = a.size();
    while (e > 0 && a[e - 1] == QLatin1Char(' ')) --e;
    int s = 0;
    while (s < b.size() && b[s] == QLatin1Char(' ')) ++s;
    if (e == 0 || s == b.size()) return false;
    const QChar last = a[e - 1], first = b[s];
    if (last == QLatin1Char(':') && isNumber(b)) return true;
    if (isNumber(a)) {
        const QString unit = b.trimmed();
        if (unit.size() <= kUnitLength && !endsOrLeadsIn(unit.back()) && !isNumber(unit)) return true;
    }
    if (endsOrLeadsIn(last)) return false;
    if (last == QLatin1Char(',') || last == QLatin1Char(';')) return true;
    if (isQuote(last) && (e == 1 || a[e - 2] == QLatin1Char(' '))) return true;
    if (isQuote(first) && (s + 1 == b.size() || b[s + 1] == QLatin1Char(' ') || isMark(b[s + 1]))) return true;
    return isMark(first) || first.isLower();
}

// Whether a blank stands between two pieces of a sentence: not after a blank or an opening
// quote, nor before a blank, a closing quote or a punctuation mark.
bool blankBetween(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty() || a.back() == QLatin1Char(' ') || b.front() == QLatin1Char(' ')) return false;
    if (isQuote(a.back()) && (a.size() == 1 || a[a.size() - 2] == QLatin1Char(' '))) return false;
    return !isQuote(b.front()) && !isMark(b.front());
}

// The lines of a sentence made of several print lines, each piece in its line's style: one
// paragraph, wrapped as text, with the space above its first piece and below its last.
std::vector<Block> sentenceBlocks(const std::vector<const Row*>& pieces, double x, double room) {
    std::vector<Run> runs;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        Run r{pieces[k]->text, pieces[k]->style.font, pieces[k]->style.color};
        if (k + 1 < pieces.size() && blankBetween(r.text, pieces[k + 1]->text)) r.text += QLatin1Char(' ');
        runs.push_back(std::move(r));
    }
    const auto lines = wrapRuns(runs, room);
    std::vector<Block> out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        double pitch = 0, ascent = 0;
        for (const RunPiece& p : lines[i]) {
            const Measure& fm = metrics(runs[p.run].font);
            pitch = std::max(pitch, fm.lineSpacing());
            ascent = std::max(ascent, fm.ascent());
        }
        if (lines[i].empty()) pitch = metrics(runs.front().font).lineSpacing();
        Block b;
        const double above = i == 0 ? pieces.front()->style.before : 0;
        const double below = i + 1 == lines.size() ? pieces.back()->style.after : 0;
        b.height = pitch + above + below;
        double at = x;
        for (const RunPiece& p : lines[i]) {
            const Run& r = runs[p.run];
            // The pieces of a line share its baseline.
            Item t = textItem(p.text, r.font, at, above + ascent - metrics(r.font).ascent(), r.color);
            at += t.w;
            b.items.push_back(std::move(t));
        }
        out.push_back(std::move(b));
    }
    return out;
}

}  // namespace

std::vector<Block> printLineBlocks(const ReportObject& object, const Report& report, double left, double width) {
    const DataTable& data = report.data();
    const int cPage = data.column(object.pageField());
    const int cLine = data.column(object.lineField());
    const int cText = data.column(object.textField());
    const int cCode = data.column(object.codeField());
    if (cPage < 0 || cText < 0) return {};

    std::vector<Row> rows;
    for (const auto& values : data.rows) {
        Row r;
        const vb::Variant& page = values[cPage];
        if (!page.isNumeric()) continue;
        r.page = page.toLong();
        if (r.page < object.fromPage() || r.page > object.toPage()) continue;
        if (cLine >= 0 && values[cLine].isNumeric()) r.line = values[cLine].toLong();
        r.text = QString::fromStdString(vb::textOrEmpty(values[cText]));
        r.style = report.style(cCode >= 0 ? vb::textOrEmpty(values[cCode]) : std::string());
        r.rule = isRule(r.text);
        if (r.style.table && !r.rule) r.cells = cellsOf(r.text);
        rows.push_back(std::move(r));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.page != b.page ? a.page < b.page : a.line < b.line; });

    // What the lines of each page share: the table columns and the fixed-pitch size.
    std::map<int, Columns> columns;
    std::map<int, double> monoScale;
    std::map<int, TextFont> monoFont;
    std::map<int, std::vector<int>> monoColumns;
    {
        std::map<int, std::vector<QString>> monoLines;
        std::map<int, std::vector<const Row*>> tableRows;
        for (const Row& r : rows) {
            const LineStyle& st = r.style;
            if (st.table && !r.rule) {
                if (r.cells.size() >= 3) tableRows[r.page].push_back(&r);
            } else if (st.mono && !r.rule && !r.text.trimmed().isEmpty()) {
                const Measure& fm = metrics(st.font);
                const double need = fm.width(expandTabs(r.text));
                const double room = width - st.indent;
                double s = need > room && need > 0 ? room / need : 1.0;
                s = std::max(kMinMonoScale, s);
                auto it = monoScale.find(r.page);
                monoScale[r.page] = it == monoScale.end() ? s : std::min(it->second, s);
                if (!monoFont.count(r.page)) monoFont[r.page] = st.font;
                monoLines[r.page].push_back(expandTabs(r.text));
            }
        }
        for (auto& [page, trs] : tableRows) columns[page] = tableColumns(trs, width);
        for (auto& [page, lines] : monoLines) monoColumns[page] = sharedColumns(lines);
    }
    // The column heads over a page's fixed-pitch lines: consecutive lines of them form a group,
    // and all heads of a page take the one size at which each group fits.
    const auto isHead = [&](const Row& r) {
        return !r.style.mono && !r.style.table && monoFont.count(r.page) && !r.rule &&
               r.text.contains(QStringLiteral("     "));
    };
    const auto monoColumn = [&](int page) {
        return metrics(scaled(monoFont[page], monoScale[page])).width(QStringLiteral("0"));
    };
    std::map<std::size_t, HeadGroup> headGroups;  // by the index of their first row
    std::map<int, double> headScales;
    for (std::size_t i = 0; i < rows.size();) {
        if (!isHead(rows[i])) {
            ++i;
            continue;
        }
        HeadGroup g;
        const std::size_t start = i;
        for (; i < rows.size() && rows[i].page == rows[start].page && isHead(rows[i]); ++i) {
            g.rows.push_back(&rows[i]);
            g.parts.push_back(headParts(expandTabs(rows[i].text), monoColumns[rows[i].page]));
        }
        const double s = g.scale(monoColumn(rows[start].page), std::max(1.0, width - rows[start].style.indent));
        auto it = headScales.find(rows[start].page);
        headScales[rows[start].page] = it == headScales.end() ? s : std::min(it->second, s);
        headGroups.emplace(start, std::move(g));
    }
    // A line of text that the next one goes on with, as one sentence.
    const auto prose = [&](const Row& r) {
        return !r.rule && !r.style.table && !r.style.mono && !r.style.apart && !isHead(r) && !r.text.trimmed().isEmpty();
    };

    std::vector<Block> out;
    int previousPage = 0;
    bool first = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        const LineStyle& st = r.style;
        const std::size_t start = out.size();
        const double x = left + st.indent;
        const double room = std::max(1.0, width - st.indent);
        std::size_t last = i;  // the last row this step sets
        if (prose(r))
            while (last + 1 < rows.size() && rows[last + 1].page == r.page && prose(rows[last + 1]) &&
                   continues(rows[last].text, rows[last + 1].text))
                ++last;
        const auto group = headGroups.find(i);
        std::optional<Block> heads;
        if (group != headGroups.end()) heads = group->second.block(headScales[r.page], monoColumn(r.page), x, room);
        if (r.rule) {
            const Measure& fm = metrics(st.font);
            Block b;
            b.height = std::round(fm.lineSpacing() * 0.6) + st.before + st.after;
            Item line;
            line.type = Item::Type::Line;
            line.x = x;
            line.y = st.before + std::round(fm.lineSpacing() * 0.3);
            line.w = room;
            line.thickness = 15;
            line.color = st.color;
            b.items.push_back(line);
            out.push_back(std::move(b));
        } else if (st.table && columns.count(r.page) && r.cells.size() >= 3) {
            out.push_back(gridRow(r.cells, st, columns[r.page], left));
        } else if (heads) {
            out.push_back(std::move(*heads));
            last = i + group->second.rows.size() - 1;
        } else if (last > i) {
            std::vector<const Row*> pieces;
            for (std::size_t k = i; k <= last; ++k) pieces.push_back(&rows[k]);
            for (Block& b : sentenceBlocks(pieces, x, room)) out.push_back(std::move(b));
        } else {
            TextFont font = st.font;
            QString text = r.text;
            if (st.mono) {
                font = scaled(st.font, monoScale.count(r.page) ? monoScale[r.page] : 1.0);
                text = expandTabs(text);
            }
            const Measure& fm = metrics(font);
            const auto lines = text.trimmed().isEmpty() ? std::vector<QString>{QString()} : wrap(text, fm, room);
            for (std::size_t k = 0; k < lines.size(); ++k) {
                Block b;
                const double above = k == 0 ? st.before : 0;
                const double below = k + 1 == lines.size() ? st.after : 0;
                b.height = fm.lineSpacing() + above + below;
                if (!lines[k].isEmpty()) b.items.push_back(textItem(lines[k], font, x, above, st.color));
                out.push_back(std::move(b));
            }
        }
        if (out.size() > start) {
            if (!first && r.page != previousPage) out[start].breakBefore = true;
            if (rows[last].style.keepNext) out.back().keepNext = true;
            // A paragraph's lines stay together unless it is longer than a few lines.
            if (out.size() - start <= 4)
                for (std::size_t k = start; k + 1 < out.size(); ++k) out[k].keepNext = true;
        }
        previousPage = r.page;
        first = false;
        i = last;
    }
    return out;
}

}  // namespace report::detail
