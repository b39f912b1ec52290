#include "core/text_archive.h"

#include <cstring>
#include <iomanip>
#include <istream>
#include <locale>
#include <ostream>

CTextArchive::CTextArchive(std::iostream& stream) : m_stream(&stream)
{
    m_stream->imbue(std::locale::classic());
}

namespace {

// A failed extraction leaves the target as it was (the standard streams would
// store 0 or a clamped value), so a reader keeps what it had before.
template <typename T> void ReadKeeping(std::istream& in, T& target)
{
    T value{};
    if (in >> value) {
        target = value;
    }
}

} // namespace

bool CTextArchive::ReadLine(std::string& line)
{
    try {
        char buffer[kMaxLine + 1];
        m_stream->getline(buffer, sizeof buffer);
        std::size_t length = std::strlen(buffer);
        // Files written on systems with two-character line ends read the
        // same; every trailing carriage return goes, so a name never changes
        // from one save to the next.
        while (length > 0 && buffer[length - 1] == '\r') {
            --length;
        }
        line.assign(buffer, length);
        return true;
    } catch (...) {
        return false;
    }
}

CTextArchive& CTextArchive::operator<<(double value)
{
    *m_stream << value;
    return *this;
}

CTextArchive& CTextArchive::operator<<(long value)
{
    *m_stream << value;
    return *this;
}

CTextArchive& CTextArchive::operator<<(int value)
{
    *m_stream << value;
    return *this;
}

CTextArchive& CTextArchive::operator<<(char value)
{
    *m_stream << value;
    return *this;
}

CTextArchive& CTextArchive::operator<<(const char* text)
{
    *m_stream << text;
    return *this;
}

CTextArchive& CTextArchive::Expect(char ch)
{
    char read = 0;
    *m_stream >> read;
    if (!*m_stream || read != ch) {
        throw -1;
    }
    return *this;
}

CTextArchive& CTextArchive::Expect(const char* token)
{
    // Matched character by character rather than as a whole word, so that a
    // section header may be followed by its value without a blank
    // ("[generator]4"). Any other token must stand as a word of its own.
    std::istream& in = *m_stream;
    in >> std::ws;
    const std::size_t length = std::strlen(token);
    if (length == 0 || length > static_cast<std::size_t>(kMaxWord)) {
        throw -1;
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (in.get() != static_cast<unsigned char>(token[i])) {
            throw -1;
        }
    }
    if (token[length - 1] != ']') {
        const int next = in.peek();
        if (next != std::char_traits<char>::eof() &&
            !std::isspace(static_cast<char>(next), std::locale::classic())) {
            throw -1;
        }
    }
    return *this;
}

CTextArchive& CTextArchive::operator>>(double& value)
{
    ReadKeeping(*m_stream, value);
    return *this;
}

CTextArchive& CTextArchive::operator>>(long& value)
{
    ReadKeeping(*m_stream, value);
    return *this;
}

CTextArchive& CTextArchive::operator>>(int& value)
{
    ReadKeeping(*m_stream, value);
    return *this;
}

CTextArchive& CTextArchive::operator>>(char& value)
{
    ReadKeeping(*m_stream, value);
    return *this;
}

CTextArchive& CTextArchive::operator>>(std::string& word)
{
    char buffer[kMaxWord + 1] = {};
    *m_stream >> std::setw(sizeof buffer) >> buffer;
    word.assign(buffer);
    return *this;
}
