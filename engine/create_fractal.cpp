#include "engine/create_fractal.h"

#include "core/text_archive.h"
#include "engine/automaton_fractal.h"
#include "engine/ifs_fractal.h"
#include "engine/lsys_fractal.h"
#include "engine/mcrm_fractal.h"
#include "engine/standard_fractal.h"

#include <algorithm>
#include <sstream>
#include <string>

namespace {

// An archive that notes where the first read failed, however the readers
// above it catch the failure: the position before the failing read.
class TracingArchive final : public CTextArchive
{
public:
    explicit TracingArchive(std::iostream& stream) : CTextArchive(stream) {}

    // The stream offset of the first failed read, or -1.
    std::streamoff FailedAt() const { return m_failedAt; }

    bool ReadLine(std::string& line) override
    {
        const std::streamoff at = Here();
        const bool ok = CTextArchive::ReadLine(line);
        if (!ok || Stream().fail()) {
            Note(at);
        }
        return ok;
    }
    CTextArchive& Expect(char ch) override
    {
        return Traced([&] { CTextArchive::Expect(ch); });
    }
    CTextArchive& Expect(const char* token) override
    {
        return Traced([&] { CTextArchive::Expect(token); });
    }
    CTextArchive& operator>>(double& value) override
    {
        return Traced([&] { CTextArchive::operator>>(value); });
    }
    CTextArchive& operator>>(long& value) override
    {
        return Traced([&] { CTextArchive::operator>>(value); });
    }
    CTextArchive& operator>>(int& value) override
    {
        return Traced([&] { CTextArchive::operator>>(value); });
    }
    CTextArchive& operator>>(char& value) override
    {
        return Traced([&] { CTextArchive::operator>>(value); });
    }
    CTextArchive& operator>>(std::string& word) override
    {
        return Traced([&] { CTextArchive::operator>>(word); });
    }

private:
    std::streamoff Here()
    {
        // A failed stream has no position; the first failure is noted
        // already by then.
        return Stream().fail() ? m_failedAt : static_cast<std::streamoff>(Stream().tellg());
    }
    void Note(std::streamoff at)
    {
        if (m_failedAt < 0) {
            m_failedAt = at;
        }
    }
    template <typename Read> CTextArchive& Traced(Read read)
    {
        const std::streamoff at = Here();
        try {
            read();
        } catch (...) {
            Note(at);
            throw;
        }
        if (Stream().fail()) {
            Note(at);
        }
        return *this;
    }

    std::streamoff m_failedAt = -1;
};

} // namespace

bool CreateFractal(FractalPtr& out, CTextArchive& ar)
{
    // Success is judged on a fractal made here: a damaged "[type]" line
    // must not report the caller's previous fractal as a successful read.
    bool constructed = false;
    try {
        ar.Expect("[type]");
        std::string keyword;
        ar >> keyword;
        const auto is = [&keyword](const char* k) { return keyword == k; };
        if (is("std") || is("standard") || is("classical")) {
            out = new CStandardFractal(ar);
        } else if (is("ifs")) {
            out = new CIfsFractal(ar);
        } else if (is("mcrm")) {
            out = new CMcrmFractal(ar);
        } else if (is("lsys") || is("lsystem")) {
            out = new CLsysFractal(ar);
        } else if (is("automaton")) {
            out = new CAutomatonFractal(ar);
        } else {
            return false;
        }
        constructed = true;
    } catch (...) {
    }
    return constructed && out && !out->m_bad;
}

bool ReadFractalText(const std::string& text, FractalPtr& out, FractalReadReport& report)
{
    std::stringstream stream(text);
    TracingArchive archive(stream);
    const bool usable = CreateFractal(out, archive);
    report = {};
    const std::streamoff failedAt = archive.FailedAt();
    if (failedAt < 0) {
        return usable;
    }
    report.complete = false;
    // Where the unreadable value starts: past the blanks before it.
    auto at =
        text.begin() + std::min<std::streamoff>(failedAt, static_cast<std::streamoff>(text.size()));
    at = std::find_if(at, text.end(),
                      [](char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n'; });
    report.endOfFile = at == text.end();
    report.line = 1 + static_cast<int>(std::count(text.begin(), at, '\n'));
    if (report.endOfFile && !text.empty() && text.back() == '\n') {
        // The line after the last one: the file ends before it.
        report.line = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }
    return usable;
}
