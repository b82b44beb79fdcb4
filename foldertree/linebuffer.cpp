#include "linebuffer.h"

#include <cstring>

namespace foldertree {

void LineBuffer::clear()
{
    m_bytes.clear();
    m_lines.clear();
}

void LineBuffer::reserve(std::size_t lines, std::size_t bytes)
{
    m_lines.reserve(lines);
    m_bytes.reserve(bytes);
}

void LineBuffer::assign(std::string_view text)
{
    adopt(std::string(text));
}

void LineBuffer::adopt(std::string &&text)
{
    m_lines.clear();
    m_bytes = std::move(text);
    const void *nul = m_bytes.empty() ? nullptr : std::memchr(m_bytes.data(), 0, m_bytes.size());
    if (nul)
        m_bytes.resize(static_cast<const char *>(nul) - m_bytes.data());
    const char *data = m_bytes.data();
    const std::size_t size = m_bytes.size();
    std::size_t start = 0;
    while (start < size) {
        // A line ends at the first CR or LF; memchr finds both fast.
        const void *lf = std::memchr(data + start, '\n', size - start);
        const std::size_t lfAt = lf ? static_cast<const char *>(lf) - data : size;
        const void *cr = std::memchr(data + start, '\r', lfAt - start);
        if (cr) {
            const std::size_t crAt = static_cast<const char *>(cr) - data;
            m_lines.push_back({start, crAt - start});
            start = crAt + 1 < size && data[crAt + 1] == '\n' ? crAt + 2 : crAt + 1;
        } else {
            m_lines.push_back({start, lfAt - start});
            start = lfAt + 1;
        }
    }
}

void LineBuffer::append(std::string_view line)
{
    m_lines.push_back({m_bytes.size(), line.size()});
    m_bytes.append(line);
}

void LineBuffer::append(std::string_view first, std::string_view second)
{
    m_lines.push_back({m_bytes.size(), first.size() + second.size()});
    m_bytes.append(first);
    m_bytes.append(second);
}

std::string LineBuffer::joined() const
{
    std::string text;
    text.reserve(m_bytes.size() + 2 * m_lines.size());
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        text.append((*this)[i]);
        text.append("\r\n");
    }
    return text;
}

} // namespace foldertree
