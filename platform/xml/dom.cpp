#include "platform/xml/dom.h"

#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xpath.h>

#include <climits>

#include "platform/files/file_io.h"
#include "platform/vb/error.h"

namespace xml {

namespace {

// A text larger than this (entities expanding into each other) is refused rather than built.
constexpr size_t kMaxText = 16u << 20;

std::string germanReason(const xmlError* e) {
    if (!e) return "Die Datei konnte nicht gelesen werden.";
    switch (e->code) {
        case XML_ERR_DOCUMENT_EMPTY: return "Die Datei ist leer.";
        case XML_ERR_DOCUMENT_END: return "Nach dem Wurzelelement folgt weiterer Inhalt.";
        case XML_ERR_TAG_NAME_MISMATCH: return "Das schließende Tag passt nicht zum öffnenden.";
        case XML_ERR_TAG_NOT_FINISHED: return "Ein Element wird nicht geschlossen.";
        case XML_ERR_GT_REQUIRED: return "Ein \">\" fehlt.";
        case XML_ERR_LTSLASH_REQUIRED: return "Ein schließendes Tag fehlt.";
        case XML_ERR_NAME_REQUIRED: return "Ein Name fehlt.";
        case XML_ERR_INVALID_CHAR:
        case XML_ERR_INVALID_ENCODING: return "Die Datei enthält ein ungültiges Zeichen.";
        case XML_ERR_UNDECLARED_ENTITY:
        case XML_WAR_UNDECLARED_ENTITY: return "Eine Entität ist nicht deklariert.";
        case XML_ERR_ATTRIBUTE_NOT_STARTED:
        case XML_ERR_ATTRIBUTE_WITHOUT_VALUE: return "Ein Attribut hat keinen Wert in Anführungszeichen.";
        case XML_ERR_ATTRIBUTE_REDEFINED: return "Ein Attribut steht doppelt.";
        case XML_ERR_DOCUMENT_START: return "Die Datei beginnt nicht mit XML.";
        case XML_ERR_UNSUPPORTED_ENCODING: return "Die Zeichenkodierung der Datei wird nicht unterstützt.";
        default: break;
    }
    std::string msg = e->message ? e->message : "";
    while (!msg.empty() && (msg.back() == '\n' || msg.back() == ' ')) msg.pop_back();
    return "Die Datei ist kein gültiges XML (" + msg + ").";
}

void ignoreError(void*, xmlErrorPtr) {}

void collectText(const xmlNode* n, std::string& out, int depth) {
    if (depth > 64 || out.size() > kMaxText) throw ParseError("Der Text der Datei ist zu umfangreich.", 0);
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
        if (out.size() > kMaxText) throw ParseError("Der Text der Datei ist zu umfangreich.", 0);
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

Document Document::load(const std::string& path) {
    std::string bytes;
    try {
        bytes = files::readFile(path);
    } catch (const vb::Error& e) {
        throw ParseError(e.number() == 53 ? "Die Datei wurde nicht gefunden." : e.description(), 0);
    }
    return fromBytes(bytes, path);
}

Document Document::parse(const std::string& text) { return fromBytes(text, "memory.xml"); }

Document Document::fromBytes(const std::string& bytes, const std::string& url) {
    xmlInitParser();
    if (bytes.size() > static_cast<size_t>(INT_MAX)) throw ParseError("Die Datei ist zu groß.", 0);
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
    if (!ctx) throw vb::Error(7);
    ctx->error = ignoreError;
    std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> result(
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(xpath.c_str()), ctx.get()), xmlXPathFreeObject);
    if (!result) throw vb::Error(5, "Ungültiger XPath-Ausdruck: " + xpath);
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
