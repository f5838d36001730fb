#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

// XML documents from files the user picks: read whole, checked, and queried with XPath. Nothing is
// fetched from the network or the disk on the document's behalf, no DTD is loaded, and documents
// that declare external entities are refused.
namespace xml {

// A document that could not be read: the reason in German and the line (0 when it is not about a
// place in the text, e.g. a missing file).
class ParseError : public std::runtime_error {
public:
    ParseError(std::string reason, int line);
    const std::string& reason() const noexcept { return m_reason; }
    int line() const noexcept { return m_line; }

private:
    std::string m_reason;
    int m_line;
};

// A document that is well-formed but whose text goes past what is read of it: elements or
// entities nested deeper than kMaxDepth inside a value, or entities that expand into a text longer
// than kMaxText. Callers say which in words of their own.
class LimitError : public ParseError {
public:
    enum class Limit { Depth, Length };
    static constexpr int kMaxDepth = 64;
    static constexpr size_t kMaxText = 16u << 20;
    LimitError(Limit limit, std::string reason) : ParseError(std::move(reason), 0), m_limit(limit) {}
    Limit limit() const noexcept { return m_limit; }

private:
    Limit m_limit;
};

class Node {
public:
    Node() = default;

    bool valid() const { return m_node != nullptr; }
    std::string name() const;  // the element's name as written, without a namespace prefix
    // The text of the node and all its descendants, as a DOM's text property gives it; LimitError
    // when it is nested too deep or grows too long.
    std::string text() const;
    std::vector<Node> children() const;  // the child elements in document order

private:
    friend class Document;
    Node(std::shared_ptr<_xmlDoc> doc, _xmlNode* node) : m_doc(std::move(doc)), m_node(node) {}
    std::shared_ptr<_xmlDoc> m_doc;  // keeps the document alive as long as a node of it is held
    _xmlNode* m_node = nullptr;
};

class Document {
public:
    // Reads the file (its name found without regard to case) and parses it in full before returning.
    // Only a regular file is read, and none larger than maxBytes (the reason says so).
    static Document load(const std::string& path, size_t maxBytes = kMaxFileBytes);
    static constexpr size_t kMaxFileBytes = 64u << 20;
    static Document parse(const std::string& text);

    Node root() const;
    // The nodes an XPath expression selects, in document order. A malformed expression raises
    // vb::Error 5.
    std::vector<Node> select(const std::string& xpath) const;
    // The text of the first selected node; nothing when the expression selects no node.
    std::optional<std::string> selectText(const std::string& xpath) const;

private:
    explicit Document(std::shared_ptr<_xmlDoc> doc) : m_doc(std::move(doc)) {}
    static Document fromBytes(const std::string& bytes, const std::string& url);
    std::shared_ptr<_xmlDoc> m_doc;
};

}  // namespace xml
