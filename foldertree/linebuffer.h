#pragma once

// The line buffer: the list of text lines that reading, writing and capturing
// tree files go through. Lines are bytes; the buffer stores them in one block.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace foldertree {

class LineBuffer
{
public:
    void clear();
    // Replaces the content by the lines of `text`. A line ends at CR LF, a lone
    // CR or a lone LF; a last line without an end is still a line; a NUL byte
    // ends the text.
    void assign(std::string_view text);
    // The same, taking over the bytes instead of copying them.
    void adopt(std::string &&text);
    void append(std::string_view line);
    // Appends one line made of two pieces.
    void append(std::string_view first, std::string_view second);

    std::size_t size() const { return m_lines.size(); }
    bool empty() const { return m_lines.empty(); }
    std::string_view operator[](std::size_t i) const
    {
        return {m_bytes.data() + m_lines[i].start, m_lines[i].length};
    }

    // Every line followed by CR LF.
    std::string joined() const;

    // Sorts the lines by `less` (equal lines may come out in either order).
    template<typename Less> void sort(Less less);

    // Room for a number of lines and bytes.
    void reserve(std::size_t lines, std::size_t bytes);

private:
    struct Line
    {
        std::size_t start;
        std::size_t length;
    };
    std::string m_bytes;
    std::vector<Line> m_lines;
};

template<typename Less> void LineBuffer::sort(Less less)
{
    std::vector<std::string_view> views;
    views.reserve(m_lines.size());
    for (std::size_t i = 0; i < m_lines.size(); ++i)
        views.push_back((*this)[i]);
    std::stable_sort(views.begin(), views.end(), less);
    LineBuffer sorted;
    sorted.reserve(views.size(), m_bytes.size());
    for (std::string_view line : views)
        sorted.append(line);
    *this = std::move(sorted);
}

} // namespace foldertree
