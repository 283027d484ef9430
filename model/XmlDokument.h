#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <memory>

namespace pugi {
class xml_document;
class xml_node;
struct xml_node_struct;
} // namespace pugi

class XmlDokument;

// A node of an XmlDokument: a light handle that is valid while its document
// lives. A null node stands for "nothing".
class XmlUzol
{
public:
    XmlUzol() = default;

    bool isNull() const { return m_node == nullptr; }
    bool isElement() const;
    QString name() const;

    // Text content of the node and all its descendants.
    QString text() const;
    // The text as UTF-8 when the element holds a single text node (the
    // common case, read without building a QString); null otherwise.
    const char *plainUtf8() const;
    // The element's content becomes exactly this text.
    void setText(const QString &text);

    // First child element with exactly this name (case-sensitive), or null.
    XmlUzol selectSingleNode(const QString &name) const;
    XmlUzol selectSingleNode(const char *name) const;
    QVector<XmlUzol> childNodes() const;
    XmlUzol firstChild() const;
    // Walking without building lists (large files).
    XmlUzol nextSibling() const;
    bool nameIs(const char *name) const;
    // Moves the node (made by createElement of the same document) to the
    // end of this node's children. Returns the node, or null on failure.
    XmlUzol appendChild(const XmlUzol &child);

private:
    friend class XmlDokument;
    explicit XmlUzol(pugi::xml_node_struct *node, const XmlDokument *doc) : m_node(node), m_doc(doc) {}
    pugi::xml_node node() const;

    pugi::xml_node_struct *m_node = nullptr;
    const XmlDokument *m_doc = nullptr;
};

// The XML document the database file and the clipboard exchange use, over
// pugixml. No DTD processing, no entity expansion, no external access.
class XmlDokument
{
public:
    XmlDokument();
    ~XmlDokument();
    XmlDokument(const XmlDokument &) = delete;
    XmlDokument &operator=(const XmlDokument &) = delete;

    // Reads and parses the whole file. False (with a description) when it
    // cannot be read or parsed, or is too large to be a database.
    bool load(const QString &path, QString *error = nullptr);
    bool loadXML(const QString &text, QString *error = nullptr);
    // UTF-8, no declaration, no whitespace between elements. Written,
    // flushed and synced to disk before it returns true.
    bool save(const QString &path, QString *error = nullptr) const;
    QString xml() const;

    XmlUzol createElement(const QString &name);
    XmlUzol createElement(const char *name);
    XmlUzol appendChild(const XmlUzol &child);
    // First top-level node; may be a node that is not an element.
    XmlUzol firstChild() const;
    XmlUzol selectSingleNode(const QString &name) const;
    QVector<XmlUzol> childNodes() const;

    static constexpr qint64 MaxFileSize = 512ll * 1024 * 1024;

private:
    friend class XmlUzol;
    bool isScratch(pugi::xml_node_struct *n) const;
    void clear();

    std::unique_ptr<pugi::xml_document> m_doc;
    pugi::xml_node_struct *m_scratch = nullptr; // holds created elements not yet placed
    QByteArray m_buffer;                         // parsed in place
};
