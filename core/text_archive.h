#pragma once

// The typed reader and writer through which every file of the program is
// read and written. It wraps a stream that the caller opened and closes; it
// owns nothing and keeps no state of its own.
//
// Format errors are signalled by throwing the int -1 from Expect; numeric and
// character reads that fail only put the stream into its failed state, so the
// next Expect throws. Writes never report failure: callers that care (atomic
// saves) check the stream afterwards.
//
// The archive imbues the stream with the classic "C" locale, so a file never
// depends on the user's desktop locale (0.5, never 0,5).

#include <iosfwd>
#include <string>

class CTextArchive
{
public:
    // Longest word a read returns (longer words are split) and longest line
    // ReadLine stores (a longer line is cut and fails the stream).
    static constexpr int kMaxWord = 511;
    static constexpr int kMaxLine = 1023;

    explicit CTextArchive(std::iostream& stream);
    virtual ~CTextArchive() = default;

    CTextArchive(const CTextArchive&) = delete;
    CTextArchive& operator=(const CTextArchive&) = delete;

    // The rest of the current line, without its line end and without a
    // carriage return before it. No white space is skipped.
    virtual bool ReadLine(std::string& line);

    // Doubles in the default notation with 6 significant digits.
    virtual CTextArchive& operator<<(double value);
    virtual CTextArchive& operator<<(long value);
    virtual CTextArchive& operator<<(int value);
    virtual CTextArchive& operator<<(char value);
    virtual CTextArchive& operator<<(const char* text);

    // Reads one non-blank character; throws -1 unless it equals ch.
    virtual CTextArchive& Expect(char ch);
    // Reads one word; throws -1 unless it equals token (case-sensitive). A
    // header token (ending in ']') may be directly followed by its value.
    virtual CTextArchive& Expect(const char* token);

    virtual CTextArchive& operator>>(double& value);
    virtual CTextArchive& operator>>(long& value);
    virtual CTextArchive& operator>>(int& value);
    virtual CTextArchive& operator>>(char& value);
    // One white-space delimited word of at most kMaxWord characters.
    virtual CTextArchive& operator>>(std::string& word);

    CTextArchive& operator<<(const std::string& text) { return *this << text.c_str(); }

    std::iostream& Stream() { return *m_stream; }

private:
    std::iostream* m_stream;
};
