#include "model/XmlDokument.h"

#include <QFile>
#include <QSaveFile>

#include <pugixml.hpp>

#include <cerrno>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr unsigned kParseFlags = (pugi::parse_default | pugi::parse_ws_pcdata_single) & ~pugi::parse_doctype;

std::string utf8(const QString &s)
{
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), size_t(b.size()));
}

QString fromUtf8(const char *s)
{
    return QString::fromUtf8(s);
}

void toUtf8(const QString &s, std::string &out)
{
    out.clear();
    out.reserve(size_t(s.size()) * 3);
    const char16_t *p = reinterpret_cast<const char16_t *>(s.constData());
    const char16_t *end = p + s.size();
    while (p < end) {
        char32_t c = *p++;
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        if (c >= 0xD800 && c < 0xDC00 && p < end && *p >= 0xDC00 && *p < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD; // a lone surrogate has no UTF-8 form
        if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
        }
        out += char(0x80 | (c & 0x3F));
    }
}

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void *data, size_t size) override { out.append(static_cast<const char *>(data), size); }
};

QString describe(const pugi::xml_parse_result &r)
{
    return QStringLiteral("%1 (offset %2)").arg(QString::fromLatin1(r.description())).arg(qlonglong(r.offset));
}

} // namespace

// --- XmlUzol ---------------------------------------------------------------

pugi::xml_node XmlUzol::node() const
{
    return pugi::xml_node(m_node);
}

bool XmlUzol::isElement() const
{
    return m_node && node().type() == pugi::node_element;
}

QString XmlUzol::name() const
{
    return m_node ? fromUtf8(node().name()) : QString();
}

QString XmlUzol::text() const
{
    if (!m_node)
        return QString();
    const pugi::xml_node n = node();
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
        return fromUtf8(n.value());
    const pugi::xml_node only = n.first_child();
    if (!only)
        return QString();
    if (!only.next_sibling() && (only.type() == pugi::node_pcdata || only.type() == pugi::node_cdata))
        return fromUtf8(only.value());
    // Iterative walk: deeply nested input must not exhaust the stack.
    std::string acc;
    pugi::xml_node cur = n.first_child();
    while (cur && cur != n) {
        if (cur.type() == pugi::node_pcdata || cur.type() == pugi::node_cdata)
            acc += cur.value();
        if (cur.first_child()) {
            cur = cur.first_child();
            continue;
        }
        while (cur && cur != n && !cur.next_sibling())
            cur = cur.parent();
        if (cur && cur != n)
            cur = cur.next_sibling();
    }
    return QString::fromUtf8(acc.data(), qsizetype(acc.size()));
}

const char *XmlUzol::plainUtf8() const
{
    if (!m_node)
        return nullptr;
    const pugi::xml_node only = node().first_child();
    if (!only)
        return "";
    if (!only.next_sibling() && (only.type() == pugi::node_pcdata || only.type() == pugi::node_cdata))
        return only.value();
    return nullptr;
}

void XmlUzol::setText(const QString &text)
{
    if (!isElement())
        return;
    pugi::xml_node n = node();
    while (n.first_child())
        n.remove_child(n.first_child());
    if (!text.isEmpty()) {
        // A save sets hundreds of thousands of texts: convert into one
        // reused buffer instead of allocating for each.
        thread_local std::string buf;
        toUtf8(text, buf);
        n.append_child(pugi::node_pcdata).set_value(buf.data(), buf.size());
    }
}

XmlUzol XmlUzol::selectSingleNode(const QString &name) const
{
    return selectSingleNode(utf8(name).c_str());
}

XmlUzol XmlUzol::selectSingleNode(const char *name) const
{
    if (!m_node)
        return XmlUzol();
    for (pugi::xml_node c = node().first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && std::strcmp(name, c.name()) == 0
            && !m_doc->isScratch(c.internal_object()))
            return XmlUzol(c.internal_object(), m_doc);
    return XmlUzol();
}

XmlUzol XmlUzol::nextSibling() const
{
    if (!m_node)
        return XmlUzol();
    pugi::xml_node c = node().next_sibling();
    if (c && m_doc->isScratch(c.internal_object()))
        c = c.next_sibling();
    return c ? XmlUzol(c.internal_object(), m_doc) : XmlUzol();
}

bool XmlUzol::nameIs(const char *name) const
{
    return m_node && std::strcmp(node().name(), name) == 0;
}

QVector<XmlUzol> XmlUzol::childNodes() const
{
    QVector<XmlUzol> out;
    if (!m_node)
        return out;
    for (pugi::xml_node c = node().first_child(); c; c = c.next_sibling())
        if (!m_doc->isScratch(c.internal_object()))
            out.append(XmlUzol(c.internal_object(), m_doc));
    return out;
}

XmlUzol XmlUzol::firstChild() const
{
    if (!m_node)
        return XmlUzol();
    for (pugi::xml_node c = node().first_child(); c; c = c.next_sibling())
        if (!m_doc->isScratch(c.internal_object()))
            return XmlUzol(c.internal_object(), m_doc);
    return XmlUzol();
}

XmlUzol XmlUzol::appendChild(const XmlUzol &child)
{
    if (!m_node || child.isNull() || child.m_doc != m_doc)
        return XmlUzol();
    pugi::xml_node moved = node().append_move(child.node());
    return moved ? XmlUzol(moved.internal_object(), m_doc) : XmlUzol();
}

// --- XmlDokument -----------------------------------------------------------

XmlDokument::XmlDokument() : m_doc(std::make_unique<pugi::xml_document>())
{
}

XmlDokument::~XmlDokument() = default;

bool XmlDokument::isScratch(pugi::xml_node_struct *n) const
{
    return n != nullptr && n == m_scratch;
}

void XmlDokument::clear()
{
    m_doc->reset();
    m_scratch = nullptr;
    m_buffer.clear();
}

bool XmlDokument::load(const QString &path, QString *error)
{
    clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    if (f.size() > MaxFileSize) {
        if (error)
            *error = QStringLiteral("File too large");
        return false;
    }
    m_buffer = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        m_buffer.clear();
        return false;
    }
    const pugi::xml_parse_result r = m_doc->load_buffer_inplace(m_buffer.data(), size_t(m_buffer.size()),
                                                                kParseFlags, pugi::encoding_auto);
    if (!r) {
        if (error)
            *error = describe(r);
        clear();
        return false;
    }
    return true;
}

bool XmlDokument::loadXML(const QString &text, QString *error)
{
    clear();
    const QByteArray data = text.toUtf8();
    const pugi::xml_parse_result r = m_doc->load_buffer(data.constData(), size_t(data.size()), kParseFlags,
                                                        pugi::encoding_utf8);
    if (!r) {
        if (error)
            *error = describe(r);
        clear();
        return false;
    }
    return true;
}

QString XmlDokument::xml() const
{
    StringWriter w;
    for (pugi::xml_node c = m_doc->first_child(); c; c = c.next_sibling())
        if (!isScratch(c.internal_object()))
            c.print(w, "", pugi::format_raw, pugi::encoding_utf8);
    return QString::fromUtf8(w.out.data(), qsizetype(w.out.size()));
}

namespace {

// Streams the serialisation to the file in large blocks; remembers the
// first write error.
struct FileWriter : pugi::xml_writer {
    int fd;
    int error = 0;
    std::string buf;
    explicit FileWriter(int f) : fd(f) { buf.reserve(1 << 16); }
    void write(const void *data, size_t size) override
    {
        if (buf.size() + size > (1 << 16))
            flush();
        if (size > (1 << 16))
            put(static_cast<const char *>(data), size);
        else
            buf.append(static_cast<const char *>(data), size);
    }
    void flush()
    {
        put(buf.data(), buf.size());
        buf.clear();
    }
    void put(const char *p, size_t n)
    {
        while (n > 0 && error == 0) {
            const ssize_t w = ::write(fd, p, n);
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                error = errno;
                return;
            }
            p += w;
            n -= size_t(w);
        }
    }
};

} // namespace

bool XmlDokument::save(const QString &path, QString *error) const
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    FileWriter w(fd);
    for (pugi::xml_node c = m_doc->first_child(); c; c = c.next_sibling())
        if (!isScratch(c.internal_object()))
            c.print(w, "", pugi::format_raw, pugi::encoding_utf8);
    w.flush();
    int err = w.error;
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(err));
        return false;
    }
    return true;
}

XmlUzol XmlDokument::createElement(const QString &name)
{
    return createElement(utf8(name).c_str());
}

XmlUzol XmlDokument::createElement(const char *name)
{
    if (!m_scratch) {
        // Created elements wait here until appended; the holder is never
        // visible through the document's operations nor written.
        m_scratch = m_doc->append_child(pugi::node_element).internal_object();
    }
    pugi::xml_node e = pugi::xml_node(m_scratch).append_child(name);
    return XmlUzol(e.internal_object(), this);
}

XmlUzol XmlDokument::appendChild(const XmlUzol &child)
{
    if (child.isNull() || child.m_doc != this)
        return XmlUzol();
    pugi::xml_node moved = m_doc->append_move(child.node());
    return moved ? XmlUzol(moved.internal_object(), this) : XmlUzol();
}

XmlUzol XmlDokument::firstChild() const
{
    for (pugi::xml_node c = m_doc->first_child(); c; c = c.next_sibling())
        if (!isScratch(c.internal_object()))
            return XmlUzol(c.internal_object(), this);
    return XmlUzol();
}

XmlUzol XmlDokument::selectSingleNode(const QString &name) const
{
    const std::string n = utf8(name);
    for (pugi::xml_node c = m_doc->first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && n == c.name() && !isScratch(c.internal_object()))
            return XmlUzol(c.internal_object(), this);
    return XmlUzol();
}

QVector<XmlUzol> XmlDokument::childNodes() const
{
    QVector<XmlUzol> out;
    for (pugi::xml_node c = m_doc->first_child(); c; c = c.next_sibling())
        if (!isScratch(c.internal_object()))
            out.append(XmlUzol(c.internal_object(), this));
    return out;
}
