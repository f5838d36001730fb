#include "platform/report/document.h"

#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <functional>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>

#include "platform/draw/printer.h"
#include "platform/report/blocks.h"
#include "platform/vb/error.h"

namespace report {

using detail::Block;

QFont qfont(const TextFont& font) {
    QFont f(QString::fromStdString(font.family));
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * 20))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    // The same advances on the screen, the printer and in the PDF: the lines break alike.
    f.setHintingPreference(QFont::PreferNoHinting);
    // Letters one by one: a ligature for "fi" would hide the word from a search in the PDF.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

namespace detail {

double Measure::width(QStringView text) const {
    double w = 0;
    for (QChar c : text) {
        auto it = m_advance.constFind(c.unicode());
        if (it == m_advance.constEnd()) it = m_advance.insert(c.unicode(), m_fm.horizontalAdvance(c));
        w += it.value();
    }
    return w;
}

const Measure& metrics(const TextFont& font) {
    static std::map<std::tuple<std::string, double, bool, bool>, std::unique_ptr<Measure>> cache;
    auto& m = cache[{font.family, font.size, font.bold, font.italic}];
    if (!m) m = std::make_unique<Measure>(qfont(font));
    return *m;
}

namespace {

// Line ends as one kind, tabs as blanks: what wrapping starts from.
QString normalised(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    out.replace(QLatin1Char('\t'), QLatin1String("    "));
    return out;
}

}  // namespace

std::vector<std::vector<Span>> wrapSpans(const QString& text, const std::function<double(int, int)>& widthOf,
                                         double width) {
    std::vector<std::vector<Span>> out;
    const auto blankOnly = [&](const std::vector<Span>& line) {
        for (const Span& s : line)
            for (int k = s.from; k < s.to; ++k)
                if (text[k] != QLatin1Char(' ')) return false;
        return true;
    };
    const int total = static_cast<int>(text.size());
    for (int p = 0;;) {
        const int found = static_cast<int>(text.indexOf(QLatin1Char('\n'), p));
        const int end = found < 0 ? total : found;
        // An indented paragraph keeps its indentation on the lines it wraps onto, as far as the
        // word after it fits; an indentation too deep for the word is given up.
        int blanks = 0;
        while (p + blanks < end && text[p + blanks] == QLatin1Char(' ')) ++blanks;
        const Span indent{p, p + blanks};
        const double indentWidth = widthOf(indent.from, indent.to);
        const std::size_t first = out.size();
        std::vector<Span> line;
        double lineWidth = 0;
        const auto add = [&](Span s) {
            if (s.from == s.to) return;
            if (!line.empty() && line.back().to == s.from) line.back().to = s.to;
            else line.push_back(s);
        };
        const auto breakLine = [&] {
            if (!blankOnly(line)) {
                while (text[line.back().to - 1] == QLatin1Char(' '))
                    if (--line.back().to == line.back().from) line.pop_back();
                out.push_back(line);
            }
            line.clear();
            lineWidth = 0;
        };
        for (int i = p; i < end;) {
            // The next piece: a run of blanks or a word.
            int j = i;
            const bool blank = text[i] == QLatin1Char(' ');
            while (j < end && (text[j] == QLatin1Char(' ')) == blank) ++j;
            const Span piece{i, j};
            const double pieceWidth = widthOf(i, j);
            i = j;
            if (lineWidth + pieceWidth <= width) {
                add(piece);
                lineWidth += pieceWidth;
                continue;
            }
            if (blank) {
                // Blanks at a break vanish; the next line starts at the indentation.
                breakLine();
                add(indent);
                lineWidth = indentWidth;
                continue;
            }
            breakLine();
            if (out.size() > first && indentWidth + pieceWidth <= width) {
                add(indent);
                add(piece);
                lineWidth = indentWidth + pieceWidth;
                continue;
            }
            if (pieceWidth <= width) {
                add(piece);
                lineWidth = pieceWidth;
                continue;
            }
            // A word wider than the line is cut where it reaches the edge.
            int rest = piece.from;
            while (widthOf(rest, piece.to) > width && piece.to - rest > 1) {
                int fits = 1, over = piece.to - rest;
                while (over - fits > 1) {
                    const int mid = (fits + over) / 2;
                    (widthOf(rest, rest + mid) <= width ? fits : over) = mid;
                }
                out.push_back({{rest, rest + fits}});
                rest += fits;
            }
            add({rest, piece.to});
            lineWidth = widthOf(rest, piece.to);
        }
        // The paragraph's last line; a paragraph of nothing but blanks is one empty line.
        if (!blankOnly(line) || out.size() == first) out.push_back(blankOnly(line) ? std::vector<Span>{} : line);
        if (end == total) break;
        p = end + 1;
    }
    return out;
}

std::vector<QString> wrap(const QString& text, const Measure& fm, double width) {
    const QString all = normalised(text);
    const QStringView view(all);
    std::vector<QString> out;
    for (const auto& spans : wrapSpans(
             all, [&](int a, int b) { return fm.width(view.mid(a, b - a)); }, width)) {
        QString line;
        for (const Span& s : spans) line += view.mid(s.from, s.to - s.from);
        out.push_back(line);
    }
    return out;
}

std::vector<std::vector<RunPiece>> wrapRuns(const std::vector<Run>& runs, double width) {
    QString all;
    std::vector<int> starts;  // where each run begins in the joined text; one more for its end
    for (const Run& r : runs) {
        starts.push_back(static_cast<int>(all.size()));
        all += normalised(r.text);
    }
    starts.push_back(static_cast<int>(all.size()));
    const QStringView view(all);
    // The pieces of [a, b) that lie in one run each.
    const auto pieces = [&](int a, int b, const auto& each) {
        for (std::size_t k = 0; k < runs.size(); ++k) {
            const int from = std::max(a, starts[k]), to = std::min(b, starts[k + 1]);
            if (from < to) each(k, from, to);
        }
    };
    const auto widthOf = [&](int a, int b) {
        double w = 0;
        pieces(a, b,
               [&](std::size_t k, int from, int to) { w += metrics(runs[k].font).width(view.mid(from, to - from)); });
        return w;
    };
    std::vector<std::vector<RunPiece>> out;
    for (const auto& spans : wrapSpans(all, widthOf, width)) {
        std::vector<RunPiece> line;
        for (const Span& s : spans)
            pieces(s.from, s.to, [&](std::size_t k, int from, int to) {
                if (!line.empty() && line.back().run == k) line.back().text += view.mid(from, to - from);
                else line.push_back({view.mid(from, to - from).toString(), k});
            });
        out.push_back(std::move(line));
    }
    return out;
}

Item textItem(const QString& text, const TextFont& font, double x, double y, int32_t color) {
    Item it;
    it.type = Item::Type::Text;
    it.text = text.toStdString();
    it.font = font;
    it.color = color;
    const Measure& fm = metrics(font);
    it.x = x;
    it.y = y;
    it.w = fm.width(text);
    it.h = fm.lineSpacing();
    it.ascent = fm.ascent();
    return it;
}

}  // namespace detail

namespace {

constexpr const char* kPageNumber = "{#Seite}";
constexpr const char* kPageCount = "{#Seiten}";
constexpr double kTitleRoom = 720;

bool isFixed(int kind) {
    return kind == TextObject || kind == FieldObject || kind == LineObject || kind == BoxObject || kind == PictureObject;
}

// A field object's template: {Field} is the field's value in the report's first row,
// {A B/sep} the non-empty values of A and B joined by sep (a blank without "/"), {#Datum} the
// print date; {#Seite} and {#Seiten} stay for the sheets. {{ and }} are braces.
struct Filled {
    std::string text;
    bool empty = true;  // no data field had a value (and there was a data field)
};

Filled fillTemplate(const std::string& tpl, const Report& report, const PrintContext& ctx) {
    Filled f;
    bool anyField = false, anyValue = false;
    std::size_t i = 0;
    while (i < tpl.size()) {
        const char c = tpl[i];
        if ((c == '{' || c == '}') && i + 1 < tpl.size() && tpl[i + 1] == c) {
            f.text += c;
            i += 2;
            continue;
        }
        if (c != '{') {
            f.text += c;
            ++i;
            continue;
        }
        const std::size_t close = tpl.find('}', i);
        if (close == std::string::npos) {
            f.text += tpl.substr(i);
            break;
        }
        const std::string inner = tpl.substr(i + 1, close - i - 1);
        i = close + 1;
        if (inner == "#Seite" || inner == "#Seiten") {
            f.text += "{" + inner + "}";
            anyValue = true;
            continue;
        }
        if (inner == "#Datum") {
            f.text += ctx.date;
            anyValue = true;
            continue;
        }
        std::string names = inner, sep = " ";
        if (const auto slash = inner.find('/'); slash != std::string::npos) {
            names = inner.substr(0, slash);
            sep = inner.substr(slash + 1);
        }
        std::string joined;
        std::size_t p = 0;
        while (p < names.size()) {
            while (p < names.size() && names[p] == ' ') ++p;
            std::size_t q = p;
            while (q < names.size() && names[q] != ' ') ++q;
            if (q > p) {
                anyField = true;
                const vb::Variant v = report.data().value(0, names.substr(p, q - p));
                std::string s = vb::textOrEmpty(v);
                if (s.find_first_not_of(' ') != std::string::npos) {
                    if (!joined.empty()) joined += sep;
                    joined += s;
                    anyValue = true;
                }
            }
            p = q;
        }
        f.text += joined;
    }
    f.empty = anyField ? !anyValue : false;
    return f;
}

Item placeText(const QString& text, const TextFont& font, double boxLeft, double boxWidth, Align align, double y,
               int32_t color) {
    Item it = detail::textItem(text, font, boxLeft, y, color);
    it.boxLeft = boxLeft;
    it.boxWidth = boxWidth;
    it.align = align;
    if (align == Align::Center) it.x = boxLeft + (boxWidth - it.w) / 2;
    else if (align == Align::Right) it.x = boxLeft + boxWidth - it.w;
    return it;
}

// The font of an object's text, made smaller in half points (not below kSmallestWordFont) until
// the widest word of the text fits `width`.
constexpr double kSmallestWordFont = 5;
TextFont fontForWords(const QString& text, const TextFont& font, double width) {
    TextFont f = font;
    const auto words = detail::normalised(text).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const auto widest = [&words](const detail::Measure& m) {
        double w = 0;
        for (const QString& word : words) w = std::max(w, m.width(word));
        return w;
    };
    while (f.size - 0.5 >= kSmallestWordFont && widest(detail::metrics(f)) > width) f.size -= 0.5;
    return f;
}

class Layouter {
public:
    Layouter(const Report& report, const PrintContext& ctx) : m_report(report), m_ctx(ctx), m_page(report.page()) {
        if (m_page.designWidth > 0) m_spread = static_cast<double>(m_page.contentWidth()) / m_page.designWidth;
    }
    std::vector<std::vector<Item>> run();

private:
    void sectionBlocks(const Section& s, const Report& rep, double left, double width, std::vector<Block>& out);
    bool fixedBlock(const Section& s, const std::vector<const ReportObject*>& objects, double origin, const Report& rep,
                    double left, double width, Block& block);
    static double stack(const std::vector<Block>& blocks, double top, std::vector<Item>& into);

    const Report& m_report;
    const PrintContext& m_ctx;
    PageSetup m_page;
    double m_maxPictureHeight = 1e9;
    // Places and widths of the objects on a sheet turned from the one they were placed for.
    double m_spread = 1;
};

double Layouter::stack(const std::vector<Block>& blocks, double top, std::vector<Item>& into) {
    double y = top;
    for (const Block& b : blocks) {
        for (Item it : b.items) {
            it.y += y;
            into.push_back(std::move(it));
        }
        y += b.height;
    }
    return y - top;
}

// The fixed objects of a section (or of the part of it between two flowing objects) as one block;
// their tops count from `origin`.
bool Layouter::fixedBlock(const Section& s, const std::vector<const ReportObject*>& objects, double origin,
                          const Report& rep, double left, double width, Block& block) {
    struct Placed {
        double top = 0, declared = 0, actual = 0, from = 0, to = 0;
        bool hidden = false;
        std::vector<Item> items;  // y from the object's top
    };
    std::vector<Placed> placed;
    for (const ReportObject* op : objects) {
        const ReportObject& o = *op;
        Placed p;
        p.top = std::max(0.0, o.Top() - origin);
        p.declared = o.Height();
        p.actual = p.declared;
        const double objLeft = std::min<double>(o.Left() * m_spread, width);
        double objWidth = width - objLeft;
        if (o.Width() > 0) objWidth = std::min<double>(o.Width() * (o.Kind() == PictureObject ? 1 : m_spread), objWidth);
        p.from = objLeft;
        p.to = objLeft + objWidth;
        p.hidden = o.Suppress();
        if (!p.hidden) {
            switch (o.Kind()) {
            case TextObject:
            case FieldObject: {
                std::string text = o.value();
                if (o.Kind() == FieldObject) {
                    const Filled f = fillTemplate(o.value(), rep, m_ctx);
                    text = f.text;
                    if (f.empty) p.hidden = true;
                }
                if (p.hidden || objWidth <= 0) break;
                const bool pageField = text.find(kPageNumber) != std::string::npos ||
                                       text.find(kPageCount) != std::string::npos;
                const QString qtext = QString::fromStdString(text);
                // A line breaks between words only: a word wider than the box (an e-mail or web
                // address in a letterhead) makes the object's text smaller until it fits.
                const TextFont font = pageField ? o.font() : fontForWords(qtext, o.font(), objWidth);
                const detail::Measure& fm = detail::metrics(font);
                const auto lines = detail::wrap(qtext, fm, objWidth);
                double y = 0;
                for (const QString& line : lines) {
                    // A page-number field keeps its text whole: the number goes in on each sheet.
                    const QString shown = pageField ? QString::fromStdString(text) : line;
                    if (!shown.trimmed().isEmpty())
                        p.items.push_back(placeText(shown, font, left + objLeft, objWidth, o.align(), y, o.color()));
                    y += fm.lineSpacing();
                    if (pageField) break;
                }
                p.actual = std::max(p.declared, y);
                break;
            }
            case LineObject: {
                Item it;
                it.type = Item::Type::Line;
                it.x = left + objLeft;
                it.y = o.thickness() / 2.0;
                it.w = objWidth;
                it.thickness = o.thickness();
                it.color = o.color();
                p.items.push_back(it);
                p.actual = std::max<double>(p.declared, o.thickness());
                break;
            }
            case BoxObject: {
                Item it;
                it.type = Item::Type::Box;
                it.x = left + objLeft;
                it.w = objWidth;
                it.h = o.Height();
                it.thickness = o.thickness();
                it.color = o.color();
                p.items.push_back(it);
                break;
            }
            case PictureObject: {
                Item it;
                it.type = Item::Type::Picture;
                it.picture = draw::LoadPicture(rep.picturePath(o.file()));
                const double pw = it.picture.widthTwips(), ph = it.picture.heightTwips();
                double w = o.Width() > 0 ? o.Width() : pw;
                double h = o.Height() > 0 ? o.Height() : (pw > 0 ? w * ph / pw : ph);
                // Pictures fit the printable area whatever size they were given.
                const double room = width - objLeft;
                if (w > room && w > 0) {
                    h *= room / w;
                    w = room;
                }
                // ... and leave room on their sheet for what stands above them, at least a title line.
                const double tallest = m_maxPictureHeight - std::max(p.top, kTitleRoom);
                if (h > tallest && h > 0) {
                    w *= tallest / h;
                    h = tallest;
                }
                it.w = std::max(0.0, w);
                it.h = std::max(0.0, h);
                it.x = left + objLeft;
                if (o.align() == Align::Center) it.x = left + (width - it.w) / 2;
                else if (o.align() == Align::Right) it.x = left + width - it.w;
                if (it.w > 0 && it.h > 0) p.items.push_back(it);
                p.actual = it.h;
                break;
            }
            default: break;
            }
        }
        placed.push_back(std::move(p));
    }
    const double minHeight = origin == 0 ? s.minHeight() : 0;
    if (placed.empty() && minHeight == 0) return false;

    // Objects below a grown, hidden or empty object move with it (in a collapsing section).
    std::vector<std::size_t> order(placed.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return placed[a].top < placed[b].top; });
    double bottom = 0;
    bool anyVisible = false;
    for (std::size_t i : order) {
        Placed& p = placed[i];
        if (p.hidden) continue;
        double shift = 0;
        for (std::size_t j : order) {
            const Placed& q = placed[j];
            if (&q == &p || q.top >= p.top) continue;
            if (q.to <= p.from || p.to <= q.from) continue;
            if (q.hidden) {
                if (s.collapse()) shift -= q.declared;
            } else {
                shift += q.actual - q.declared;
            }
        }
        const double top = std::max(0.0, p.top + shift);
        for (Item it : p.items) {
            it.y += top;
            block.items.push_back(std::move(it));
        }
        bottom = std::max(bottom, top + p.actual);
        anyVisible = anyVisible || !p.items.empty();
    }
    if (!anyVisible && (s.collapse() || minHeight == 0)) return false;
    block.height = s.collapse() ? bottom : std::max(minHeight, bottom);
    return true;
}

// A section's objects in the order of their tops: fixed objects in between flowing ones form one
// block each; subreports and print lines flow down the sheets below what stands above them.
void Layouter::sectionBlocks(const Section& s, const Report& rep, double left, double width, std::vector<Block>& out) {
    if (s.Suppress()) return;
    const std::size_t first = out.size();
    std::vector<const ReportObject*> objects;
    for (const auto& o : s.objects()) objects.push_back(o.get());
    std::stable_sort(objects.begin(), objects.end(), [](const ReportObject* a, const ReportObject* b) {
        // At the same top the fixed objects come first.
        const bool fa = isFixed(a->Kind()), fb = isFixed(b->Kind());
        return a->Top() != b->Top() ? a->Top() < b->Top() : (fa && !fb);
    });
    std::vector<const ReportObject*> group;
    double origin = 0;
    bool firstGroup = true;
    auto flush = [&] {
        if (group.empty() && !(firstGroup && s.minHeight() > 0 && objects.empty())) return;
        Block b;
        if (fixedBlock(s, group, firstGroup ? 0 : origin, rep, left, width, b)) out.push_back(std::move(b));
        group.clear();
        firstGroup = false;
    };
    for (const ReportObject* o : objects) {
        if (isFixed(o->Kind())) {
            if (group.empty()) origin = o->Top();
            group.push_back(o);
            continue;
        }
        flush();
        firstGroup = false;
        if (o->Suppress()) continue;
        const double objLeft = std::min<double>(o->Left() * m_spread, width);
        double objWidth = width - objLeft;
        if (o->Width() > 0) objWidth = std::min<double>(o->Width() * m_spread, objWidth);
        if (objWidth <= 0) continue;
        if (o->Kind() == SubreportObject) {
            const Report* sub = o->subreport();
            if (!sub) continue;
            for (const auto& ss : sub->sections()) {
                if (ss->Type() == SectionType::PageHeader || ss->Type() == SectionType::PageFooter) continue;
                sectionBlocks(*ss, *sub, left + objLeft, objWidth, out);
            }
        } else if (o->Kind() == PrintLinesObject) {
            auto lines = detail::printLineBlocks(*o, rep, left + objLeft, objWidth);
            for (auto& b : lines) out.push_back(std::move(b));
        }
    }
    flush();
    if (out.size() > first) {
        if (s.newPage()) out[first].breakBefore = true;
        if (s.keepTogether())
            for (std::size_t i = first; i + 1 < out.size(); ++i) out[i].keepNext = true;
    }
}

void replaceAll(std::string& s, const std::string& what, const std::string& with) {
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + with.size()))
        s.replace(p, what.size(), with);
}

std::vector<std::vector<Item>> Layouter::run() {
    const double left = m_page.left, width = m_page.contentWidth();
    std::vector<Block> header, footer, body;
    for (const auto& s : m_report.sections()) {
        if (s->Type() == SectionType::PageHeader) sectionBlocks(*s, m_report, left, width, header);
        else if (s->Type() == SectionType::PageFooter) sectionBlocks(*s, m_report, left, width, footer);
    }
    std::vector<Item> headerItems, footerItems;
    const double headerHeight = stack(header, m_page.top, headerItems);
    double footerHeight = 0;
    for (const Block& b : footer) footerHeight += b.height;
    const double bodyTop = m_page.top + headerHeight;
    const double bodyBottom = m_page.height - m_page.bottom - footerHeight;
    stack(footer, bodyBottom, footerItems);
    if (bodyBottom - bodyTop < 1440)
        throw vb::Error(err::DamagedLayout, "Die Berichtsvorlage \u201E" + m_report.Name() +
                                                "\u201C lässt zwischen Kopf- und Fußzeile keinen Platz.");
    m_maxPictureHeight = bodyBottom - bodyTop;

    for (const auto& s : m_report.sections())
        if (s->Type() != SectionType::PageHeader && s->Type() != SectionType::PageFooter)
            sectionBlocks(*s, m_report, left, width, body);

    std::vector<std::vector<Item>> pages(1);
    double y = bodyTop;
    bool empty = true;
    const double room = bodyBottom - bodyTop;
    for (std::size_t i = 0; i < body.size(); ++i) {
        const Block& b = body[i];
        if (b.breakBefore && !empty) {
            pages.emplace_back();
            y = bodyTop;
            empty = true;
        }
        double need = b.height;
        for (std::size_t j = i; body[j].keepNext && j + 1 < body.size() && !body[j + 1].breakBefore && need < room; ++j)
            need += body[j + 1].height;
        if (y + need > bodyBottom + 0.5 && !empty) {
            pages.emplace_back();
            y = bodyTop;
            empty = true;
        }
        for (Item it : b.items) {
            it.y += y;
            pages.back().push_back(std::move(it));
        }
        y += b.height;
        if (b.height > 0 || !b.items.empty()) empty = false;
    }

    const std::string count = std::to_string(pages.size());
    for (std::size_t n = 0; n < pages.size(); ++n) {
        std::vector<Item> sheet;
        sheet.reserve(headerItems.size() + pages[n].size() + footerItems.size());
        auto add = [&](const std::vector<Item>& items) {
            for (Item it : items) {
                if (it.type == Item::Type::Text &&
                    (it.text.find(kPageNumber) != std::string::npos || it.text.find(kPageCount) != std::string::npos)) {
                    replaceAll(it.text, kPageNumber, std::to_string(n + 1));
                    replaceAll(it.text, kPageCount, count);
                    Item placed = placeText(QString::fromStdString(it.text), it.font, it.boxLeft, it.boxWidth, it.align,
                                            it.y, it.color);
                    it = std::move(placed);
                }
                sheet.push_back(std::move(it));
            }
        };
        add(headerItems);
        for (Item& it : pages[n]) sheet.push_back(std::move(it));
        add(footerItems);
        pages[n] = std::move(sheet);
    }
    return pages;
}

QColor qcolor(int32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

Document Document::layout(const Report& report, const PrintContext& context) {
    Document d;
    d.m_page = report.page();
    Layouter l(report, context);
    d.m_pages = l.run();
    return d;
}

QRectF Document::contentRect() const {
    return QRectF(m_page.left, m_page.top, m_page.contentWidth(), m_page.height - m_page.top - m_page.bottom);
}

const std::vector<Item>& Document::page(int index) const {
    if (index < 0 || index >= pageCount()) throw vb::Error(vb::err::SubscriptOutOfRange);
    return m_pages[index];
}

void Document::paint(QPainter& p, int index, double k) const {
    const auto& items = page(index);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.scale(k, k);
    const double hairline = 1.0 / k;
    const TextFont* current = nullptr;
    for (const Item& it : items) {
        switch (it.type) {
        case Item::Type::Text:
            if (!current || current->family != it.font.family || current->size != it.font.size ||
                current->bold != it.font.bold || current->italic != it.font.italic) {
                p.setFont(qfont(it.font));
                current = &it.font;
            }
            p.setPen(qcolor(it.color));
            p.drawText(QPointF(it.x, it.y + it.ascent), QString::fromStdString(it.text));
            break;
        case Item::Type::Line: {
            QPen pen(qcolor(it.color), std::max(it.thickness, hairline));
            pen.setCapStyle(Qt::FlatCap);
            p.setPen(pen);
            p.drawLine(QPointF(it.x, it.y), QPointF(it.x + it.w, it.y + it.h));
            break;
        }
        case Item::Type::Box:
            if (it.filled) p.fillRect(QRectF(it.x, it.y, it.w, it.h), qcolor(it.color));
            if (it.thickness > 0) {
                QPen pen(it.filled ? QColor(Qt::black) : qcolor(it.color), std::max(it.thickness, hairline));
                p.setPen(pen);
                p.setBrush(Qt::NoBrush);
                p.drawRect(QRectF(it.x, it.y, it.w, it.h));
            }
            break;
        case Item::Type::Picture: it.picture.draw(p, QRectF(it.x, it.y, it.w, it.h)); break;
        }
    }
    p.restore();
}

std::vector<std::string> Document::pageLines(int index) const {
    std::map<long, std::vector<const Item*>> rows;
    for (const Item& it : page(index))
        if (it.type == Item::Type::Text) rows[std::lround(it.y + it.ascent)].push_back(&it);
    std::vector<std::string> out;
    for (auto& [y, items] : rows) {
        std::stable_sort(items.begin(), items.end(), [](const Item* a, const Item* b) { return a->x < b->x; });
        std::string line;
        double end = 0;
        for (const Item* it : items) {
            if (!line.empty() && it->x > end + 1) line += " ";
            line += it->text;
            end = it->x + it->w;
        }
        out.push_back(line);
    }
    return out;
}

void print(const Document& document, draw::Printer& printer) {
    try {
        if (!printer.busy()) {
            // The sheet the report was laid out for.
            const bool landscape = document.pageWidth() > document.pageHeight();
            const double shortSide = std::min(document.pageWidth(), document.pageHeight());
            printer.setPaperSize(shortSide < 9000 ? 11 : shortSide > 12000 ? 1 : 9);
            printer.setOrientation(landscape ? 2 : 1);
        }
        for (int i = 0; i < document.pageCount(); ++i) {
            if (i > 0) printer.NewPage();
            QPainter& p = printer.sheetPainter();
            document.paint(p, i, printer.qprinter().resolution() / 1440.0);
        }
        printer.EndDoc();
    } catch (...) {
        if (printer.busy()) printer.KillDoc();
        throw;
    }
}

}  // namespace report
