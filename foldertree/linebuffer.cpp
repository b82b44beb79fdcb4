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
    clear();
    const void *nul = text.empty() ? nullptr : std::memchr(text.data(), 0, text.size());
    if (nul)
        text = text.substr(0, static_cast<const char *>(nul) - text.data());
    m_bytes.assign(text);
    const char *data = m_bytes.data();
    const std::size_t size = m_bytes.size();
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < size) {
        const char c = data[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        m_lines.push_back({start, i - start});
        i += (c == '\r' && i + 1 < size && data[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < size)
        m_lines.push_back({start, size - start});
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
