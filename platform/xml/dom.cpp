#include "platform/xml/dom.h"

#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>

#include <algorithm>
#include <climits>

#include "platform/files/file_io.h"
#include "platform/vb/error.h"
#include "platform/vb/strings.h"

namespace xml {

namespace {

// A text larger than this (entities expanding into each other) is refused rather than built.
constexpr size_t kMaxText = LimitError::kMaxText;

[[noreturn]] void tooLong() {
    throw LimitError(LimitError::Limit::Length, "Die Entitäten der Datei ergeben einen Text von mehr als 16 MB.");
}

std::string germanReason(const xmlError* e) {
    if (!e) return "Die Datei konnte nicht gelesen werden.";
    const std::string msg = e->message ? e->message : "";
    const int c = e->code;
    auto in = [c](std::initializer_list<int> codes) { return std::find(codes.begin(), codes.end(), c) != codes.end(); };
    switch (c) {
    case XML_ERR_DOCUMENT_EMPTY: return "Die Datei ist keine XML-Datei: sie enthält kein Element.";
    case XML_ERR_DOCUMENT_END:
    case XML_ERR_EXTRA_CONTENT: return "Nach dem Wurzelelement folgt weiterer Inhalt.";
    case XML_ERR_TAG_NAME_MISMATCH: return "Das schließende Tag passt nicht zum öffnenden.";
    case XML_ERR_TAG_NOT_FINISHED: return "Ein Element wird nicht geschlossen.";
    case XML_ERR_NOT_WELL_BALANCED: return "Die Elemente sind nicht richtig ineinander geschachtelt.";
    case XML_ERR_GT_REQUIRED: return "Ein \">\" fehlt.";
    case XML_ERR_LTSLASH_REQUIRED: return "Ein schließendes Tag fehlt.";
    case XML_ERR_NAME_REQUIRED: return "Ein Name fehlt.";
    case XML_ERR_INVALID_CHAR:
    case XML_ERR_INVALID_ENCODING: return "Die Datei enthält ein ungültiges Zeichen.";
    case XML_ERR_UNDECLARED_ENTITY:
    case XML_WAR_UNDECLARED_ENTITY: return "Eine Entität ist nicht deklariert.";
    case XML_ERR_ATTRIBUTE_NOT_STARTED:
    case XML_ERR_ATTRIBUTE_WITHOUT_VALUE: return "Ein Attribut hat keinen Wert in Anführungszeichen.";
    case XML_ERR_ATTRIBUTE_NOT_FINISHED: return "Der Wert eines Attributs wird nicht geschlossen.";
    case XML_ERR_LT_IN_ATTRIBUTE: return "Der Wert eines Attributs enthält das Zeichen \"<\".";
    case XML_ERR_ATTRIBUTE_REDEFINED:
    case XML_NS_ERR_ATTRIBUTE_REDEFINED: return "Ein Attribut steht doppelt.";
    case XML_ERR_EQUAL_REQUIRED: return "Nach dem Namen eines Attributs fehlt das \"=\".";
    case XML_ERR_DOCUMENT_START: return "Die Datei beginnt nicht mit XML.";
    case XML_ERR_UNSUPPORTED_ENCODING:
    case XML_ERR_UNKNOWN_ENCODING: {
        const std::string name = e->str1 ? e->str1 : "";
        return name.empty() ? std::string("Die Zeichenkodierung der Datei wird nicht unterstützt.")
                            : "Die Zeichenkodierung \"" + vb::excerpt(name, 40) + "\" der Datei wird nicht unterstützt.";
    }
    // The parser names a loop and a blow-up of entities alike.
    case XML_ERR_ENTITY_LOOP:
        return "Die Entitäten der Datei verweisen im Kreis aufeinander oder vervielfachen sich zu einem übermäßig "
               "langen Text.";
    case XML_ERR_NO_MEMORY: return "Die Datei ist zu groß, um sie zu lesen.";
    case XML_ERR_NAME_TOO_LONG: return "Die Datei enthält einen Namen, der zu lang ist.";
    case XML_ERR_MISPLACED_CDATA_END: return "Die Zeichenfolge \"]]>\" steht außerhalb eines CDATA-Abschnitts.";
    case XML_ERR_CDATA_NOT_FINISHED: return "Ein CDATA-Abschnitt wird nicht geschlossen.";
    case XML_ERR_RESERVED_XML_NAME: return "Eine XML-Deklaration steht nicht am Anfang der Datei.";
    case XML_ERR_SPACE_REQUIRED:
    case XML_ERR_SEPARATOR_REQUIRED: return "Zwischen zwei Angaben fehlt ein Leerzeichen.";
    case XML_ERR_VALUE_REQUIRED: return "Ein Wert fehlt.";
    default: break;
    }
    if (in({XML_ERR_INVALID_HEX_CHARREF, XML_ERR_INVALID_DEC_CHARREF, XML_ERR_INVALID_CHARREF, XML_ERR_CHARREF_AT_EOF,
            XML_ERR_CHARREF_IN_PROLOG, XML_ERR_CHARREF_IN_EPILOG, XML_ERR_CHARREF_IN_DTD}))
        return "Ein Zeichenverweis (&#…;) ist ungültig oder steht an falscher Stelle.";
    if (in({XML_ERR_ENTITYREF_AT_EOF, XML_ERR_ENTITYREF_IN_PROLOG, XML_ERR_ENTITYREF_IN_EPILOG, XML_ERR_ENTITYREF_IN_DTD,
            XML_ERR_PEREF_AT_EOF, XML_ERR_PEREF_IN_PROLOG, XML_ERR_PEREF_IN_EPILOG, XML_ERR_PEREF_IN_INT_SUBSET,
            XML_ERR_ENTITYREF_NO_NAME, XML_ERR_ENTITYREF_SEMICOL_MISSING, XML_ERR_PEREF_NO_NAME,
            XML_ERR_PEREF_SEMICOL_MISSING}))
        return "Ein Entitätsverweis (&…;) ist unvollständig oder steht an falscher Stelle.";
    if (in({XML_ERR_UNPARSED_ENTITY, XML_ERR_ENTITY_IS_EXTERNAL, XML_ERR_ENTITY_IS_PARAMETER, XML_ERR_ENTITY_NOT_STARTED,
            XML_ERR_ENTITY_NOT_FINISHED, XML_ERR_ENTITY_PE_INTERNAL, XML_ERR_ENTITY_BOUNDARY, XML_ERR_ENTITY_CHAR_ERROR,
            XML_ERR_ENTITY_PROCESSING}))
        return "Eine Entität ist fehlerhaft deklariert oder wird unzulässig verwendet.";
    if (in({XML_ERR_STRING_NOT_STARTED, XML_ERR_STRING_NOT_CLOSED, XML_ERR_LITERAL_NOT_STARTED,
            XML_ERR_LITERAL_NOT_FINISHED}))
        return "Eine Zeichenkette in Anführungszeichen fehlt oder wird nicht geschlossen.";
    if (in({XML_ERR_COMMENT_NOT_FINISHED, XML_ERR_HYPHEN_IN_COMMENT}))
        return "Ein Kommentar wird nicht geschlossen oder enthält \"--\".";
    if (in({XML_ERR_PI_NOT_STARTED, XML_ERR_PI_NOT_FINISHED}))
        return "Eine Verarbeitungsanweisung (<?…?>) ist unvollständig.";
    if (in({XML_ERR_XMLDECL_NOT_STARTED, XML_ERR_XMLDECL_NOT_FINISHED, XML_ERR_VERSION_MISSING, XML_WAR_UNKNOWN_VERSION,
            XML_ERR_MISSING_ENCODING, XML_ERR_UNKNOWN_VERSION, XML_ERR_VERSION_MISMATCH, XML_ERR_STANDALONE_VALUE,
            XML_ERR_ENCODING_NAME}))
        return "Die XML-Deklaration am Anfang der Datei (<?xml …?>) ist fehlerhaft.";
    if (in({XML_ERR_NOTATION_NOT_STARTED, XML_ERR_NOTATION_NOT_FINISHED, XML_ERR_ATTLIST_NOT_STARTED,
            XML_ERR_ATTLIST_NOT_FINISHED, XML_ERR_MIXED_NOT_STARTED, XML_ERR_MIXED_NOT_FINISHED,
            XML_ERR_ELEMCONTENT_NOT_STARTED, XML_ERR_ELEMCONTENT_NOT_FINISHED, XML_ERR_CONDSEC_NOT_STARTED,
            XML_ERR_CONDSEC_NOT_FINISHED, XML_ERR_EXT_SUBSET_NOT_FINISHED, XML_ERR_DOCTYPE_NOT_FINISHED,
            XML_ERR_CONDSEC_INVALID, XML_ERR_CONDSEC_INVALID_KEYWORD, XML_ERR_NO_DTD, XML_ERR_NOTATION_PROCESSING}))
        return "Die Dokumenttyp-Deklaration (<!DOCTYPE …>) ist fehlerhaft.";
    if (in({XML_ERR_NMTOKEN_REQUIRED, XML_ERR_PCDATA_REQUIRED, XML_ERR_URI_REQUIRED, XML_ERR_PUBID_REQUIRED,
            XML_ERR_LT_REQUIRED}))
        return "An einer Stelle der Datei fehlt ein notwendiger Bestandteil.";
    if (in({XML_ERR_INVALID_URI, XML_ERR_URI_FRAGMENT})) return "Ein Verweis (URI) in der Datei ist ungültig.";
    if (c >= XML_NS_ERR_XML_NAMESPACE && c <= XML_NS_ERR_COLON)
        return "Ein Namensraum (Präfix mit \":\") ist fehlerhaft.";
    // The parser's limits come as internal errors; its English advice is no help to the person.
    if (msg.find("depth") != std::string::npos) return "Die Datei ist zu tief verschachtelt (mehr als 256 Ebenen).";
    if (msg.find("huge") != std::string::npos || msg.find("Huge") != std::string::npos ||
        msg.find("too long") != std::string::npos || msg.find("too big") != std::string::npos ||
        msg.find("amplification") != std::string::npos || c == XML_ERR_INTERNAL_ERROR)
        return "Die Datei überschreitet eine Grenze des XML-Lesers (ein Text, ein Name oder die Verschachtelung ist "
               "zu groß).";
    return "Die Datei ist kein gültiges XML (Fehler Nr. " + std::to_string(c) + " des XML-Lesers).";
}

// What the bytes are when they cannot be XML at all: said before the parser says something less
// fitting (it calls random bytes an empty document). Empty when the parser should judge.
std::string notXmlReason(const std::string& b) {
    auto startsWith = [&](const char* p, size_t n) { return b.size() >= n && b.compare(0, n, p, n) == 0; };
    if (startsWith("\x00\x00\xFE\xFF", 4) || startsWith("\xFF\xFE\x00\x00", 4) || startsWith("\x00\x00\x00<", 4) ||
        startsWith("<\x00\x00\x00", 4))
        return "Die Datei ist in UTF-32 kodiert; diese Zeichenkodierung wird nicht unterstützt (bitte als UTF-8 "
               "speichern).";
    if (startsWith("\xEF\xBB\xBF\xEF\xBB\xBF", 6) || startsWith("\xFE\xFF\xFE\xFF", 4) ||
        startsWith("\xFF\xFE\xFF\xFE", 4) || startsWith("\xEF\xBB\xBF\xFF\xFE", 5) ||
        startsWith("\xEF\xBB\xBF\xFE\xFF", 5))
        return "Die Datei beginnt mit zwei Byte-Order-Markierungen; sie wurde offenbar zweimal umkodiert und wird "
               "nicht gelesen.";
    if (startsWith("\xFE\xFF", 2) || startsWith("\xFF\xFE", 2) || (b.size() >= 2 && (b[0] == 0 || b[1] == 0)))
        return "";  // UTF-16: the parser reads it
    size_t at = startsWith("\xEF\xBB\xBF", 3) ? 3 : 0;
    while (at < b.size() && (b[at] == ' ' || b[at] == '\t' || b[at] == '\r' || b[at] == '\n')) ++at;
    if (at == b.size()) return "Die Datei ist leer.";
    if (b[at] != '<') {
        const size_t probe = std::min<size_t>(b.size(), 4096);
        for (size_t i = 0; i < probe; ++i)
            if (b[i] == 0) return "Die Datei enthält binäre Daten und ist keine XML-Datei.";
        return "Die Datei ist keine XML-Datei: sie beginnt nicht mit einem Element (\"<\").";
    }
    return "";
}

void ignoreError(void*, xmlErrorPtr) {}

void collectText(const xmlNode* n, std::string& out, int depth) {
    if (depth > LimitError::kMaxDepth)
        throw LimitError(LimitError::Limit::Depth, "Die Datei ist in einem Wert tiefer als 64 Ebenen verschachtelt.");
    if (out.size() > kMaxText) tooLong();
    for (const xmlNode* c = n; c; c = c->next) {
        switch (c->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            if (c->content) out += reinterpret_cast<const char*>(c->content);
            break;
        case XML_ELEMENT_NODE: collectText(c->children, out, depth + 1); break;
        case XML_ENTITY_REF_NODE: {
            // Internal entities stand for their text; external ones are never loaded.
            const auto* ent = reinterpret_cast<const xmlEntity*>(c->children);
            if (ent && ent->etype == XML_INTERNAL_GENERAL_ENTITY) collectText(ent->children, out, depth + 1);
            break;
        }
        default: break;
        }
        if (out.size() > kMaxText) tooLong();
    }
}

bool declaresExternalEntity(xmlDtd* dtd) {
    if (!dtd) return false;
    for (xmlNode* n = dtd->children; n; n = n->next) {
        if (n->type != XML_ENTITY_DECL) continue;
        const auto* ent = reinterpret_cast<const xmlEntity*>(n);
        if (ent->etype == XML_EXTERNAL_GENERAL_PARSED_ENTITY || ent->etype == XML_EXTERNAL_GENERAL_UNPARSED_ENTITY ||
            ent->etype == XML_EXTERNAL_PARAMETER_ENTITY || ent->SystemID || ent->ExternalID)
            return true;
    }
    return false;
}

}  // namespace

ParseError::ParseError(std::string reason, int line)
    : std::runtime_error(reason), m_reason(std::move(reason)), m_line(line) {}

std::string Node::name() const { return m_node && m_node->name ? reinterpret_cast<const char*>(m_node->name) : ""; }

std::string Node::text() const {
    std::string out;
    if (!m_node) return out;
    switch (m_node->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
        if (m_node->content) out = reinterpret_cast<const char*>(m_node->content);
        break;
    default: collectText(m_node->children, out, 0); break;
    }
    return out;
}

std::vector<Node> Node::children() const {
    std::vector<Node> out;
    if (!m_node) return out;
    for (xmlNode* c = m_node->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE) out.push_back(Node(m_doc, c));
    return out;
}

Document Document::load(const std::string& path, size_t maxBytes) {
    std::string bytes;
    try {
        bytes = files::readFile(path, maxBytes);
    } catch (const vb::Error& e) {
        if (e.number() == vb::err::FileNotFound) throw ParseError("Die Datei wurde nicht gefunden.", 0);
        throw ParseError(e.description(), 0);
    }
    return fromBytes(bytes, path);
}

Document Document::parse(const std::string& text) { return fromBytes(text, "memory.xml"); }

Document Document::fromBytes(const std::string& bytes, const std::string& url) {
    xmlInitParser();
    if (bytes.size() > static_cast<size_t>(INT_MAX)) throw ParseError("Die Datei ist zu groß.", 0);
    if (const std::string why = notXmlReason(bytes); !why.empty()) throw ParseError(why, 0);
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt) throw ParseError("Nicht genügend Speicher.", 0);
    // No network, no DTD loading or validation, no entity substitution; parser messages are
    // collected here instead of going to the console.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    xmlDocPtr doc = xmlCtxtReadMemory(ctxt, bytes.data(), static_cast<int>(bytes.size()), url.c_str(), nullptr, options);
    if (!doc || !ctxt->wellFormed) {
        const xmlError* e = xmlCtxtGetLastError(ctxt);
        const std::string reason = germanReason(e);
        const int line = e ? e->line : 0;
        if (doc) xmlFreeDoc(doc);
        xmlFreeParserCtxt(ctxt);
        throw ParseError(reason, line);
    }
    xmlFreeParserCtxt(ctxt);
    std::shared_ptr<_xmlDoc> owned(doc, xmlFreeDoc);
    if (declaresExternalEntity(doc->intSubset) || declaresExternalEntity(doc->extSubset))
        throw ParseError("Die Datei verweist auf externe Entitäten; solche Dateien werden nicht gelesen.", 0);
    if (!xmlDocGetRootElement(doc)) throw ParseError("Die Datei enthält kein Element.", 0);
    return Document(std::move(owned));
}

Node Document::root() const { return Node(m_doc, xmlDocGetRootElement(m_doc.get())); }

std::vector<Node> Document::select(const std::string& xpath) const {
    std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> ctx(xmlXPathNewContext(m_doc.get()),
                                                                         xmlXPathFreeContext);
    if (!ctx) throw vb::Error(vb::err::OutOfMemory);
    ctx->error = ignoreError;
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> result(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(xpath.c_str()), ctx.get()), xmlXPathFreeObject);
    if (!result) throw vb::Error(vb::err::InvalidProcedureCall, "Ungültiger XPath-Ausdruck: " + xpath);
    std::vector<Node> out;
    if (result->type == XPATH_NODESET && result->nodesetval) {
        for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
            xmlNode* n = result->nodesetval->nodeTab[i];
            if (n->type != XML_NAMESPACE_DECL) out.push_back(Node(m_doc, n));  // not a node of the tree
        }
    }
    return out;
}

std::optional<std::string> Document::selectText(const std::string& xpath) const {
    const std::vector<Node> nodes = select(xpath);
    if (nodes.empty()) return std::nullopt;
    return nodes.front().text();
}

}  // namespace xml
