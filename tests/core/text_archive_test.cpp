#include "core/text_archive.h"

#include <gtest/gtest.h>

#include <locale>
#include <sstream>
#include <string>

namespace {

std::string Written(void (*write)(CTextArchive&))
{
    std::stringstream s;
    CTextArchive ar(s);
    write(ar);
    return s.str();
}

TEST(TextArchive, WritesDoublesWithSixSignificantDigits)
{
    EXPECT_EQ(Written([](CTextArchive& ar) { ar << 0.1 + 0.2; }), "0.3");
    EXPECT_EQ(Written([](CTextArchive& ar) { ar << 1.0 / 3.0; }), "0.333333");
    EXPECT_EQ(Written([](CTextArchive& ar) { ar << 2.0 * 3.141592653589793 / 3.0; }), "2.0944");
    EXPECT_EQ(Written([](CTextArchive& ar) { ar << 1e-7; }), "1e-07");
    EXPECT_EQ(Written([](CTextArchive& ar) { ar << "[generator] " << 4 << '\n'; }),
              "[generator] 4\n");
}

TEST(TextArchive, IgnoresTheDesktopLocale)
{
    // A locale with a decimal comma must not leak into files.
    struct Comma : std::numpunct<char>
    {
        char do_decimal_point() const override { return ','; }
    };
    std::stringstream s;
    s.imbue(std::locale(std::locale::classic(), new Comma));
    CTextArchive ar(s);
    ar << 0.5;
    EXPECT_EQ(s.str(), "0.5");
    double back = 0;
    ar >> back;
    EXPECT_EQ(back, 0.5);
}

TEST(TextArchive, ReadsBackRoundedValues)
{
    std::stringstream s;
    CTextArchive ar(s);
    ar << 1.0 / 3.0;
    double value = 0;
    ar >> value;
    EXPECT_EQ(value, 0.333333);
}

TEST(TextArchive, HeaderAndValueMayBeSeparatedByAnyWhiteSpace)
{
    for (const char* text : {"[generator] 4\n", "[generator]4\n", "[generator]\n4\n"}) {
        std::stringstream s(text);
        CTextArchive ar(s);
        int count = 0;
        ar.Expect("[generator]") >> count;
        EXPECT_EQ(count, 4) << text;
    }
}

TEST(TextArchive, ExpectThrowsOnMismatchAndAtTheEnd)
{
    std::stringstream s("[Name] koch\n");
    CTextArchive ar(s);
    EXPECT_THROW(ar.Expect("[name]"), int);
    std::stringstream empty("");
    CTextArchive atEnd(empty);
    try {
        atEnd.Expect("[type]");
        ADD_FAILURE() << "no exception at the end of the file";
    } catch (int e) {
        EXPECT_EQ(e, -1);
    }
    std::stringstream comma("1;2");
    CTextArchive ar2(comma);
    int first = 0;
    ar2 >> first;
    EXPECT_THROW(ar2.Expect(','), int);
}

TEST(TextArchive, ReadLineKeepsLeadingBlankAndDropsCarriageReturn)
{
    std::stringstream s("[name] koch\n[name]\n[name] dragon\r\r\nnext");
    CTextArchive ar(s);
    std::string line;
    ar.Expect("[name]");
    ASSERT_TRUE(ar.ReadLine(line));
    EXPECT_EQ(line, " koch");
    ar.Expect("[name]");
    ASSERT_TRUE(ar.ReadLine(line));
    EXPECT_EQ(line, "");
    ar.Expect("[name]");
    ASSERT_TRUE(ar.ReadLine(line));
    EXPECT_EQ(line, " dragon");
    std::string word;
    ar >> word;
    EXPECT_EQ(word, "next");
}

TEST(TextArchive, BadNumberFailsTheNextExpectAndKeepsTheTarget)
{
    std::stringstream s("[generator] x\n[initiators] 1");
    CTextArchive ar(s);
    int count = 7;
    ar.Expect("[generator]") >> count;
    EXPECT_EQ(count, 7);
    EXPECT_THROW(ar.Expect("[initiators]"), int);
}

TEST(TextArchive, OverlongWordsAndLinesStayWithinBounds)
{
    const std::string longWord(600, 'F');
    std::stringstream s(longWord + " tail\n" + std::string(2000, 'n') + "\n[ndays] 3");
    CTextArchive ar(s);
    std::string word;
    ar >> word;
    EXPECT_EQ(word.size(), static_cast<size_t>(CTextArchive::kMaxWord));
    ar >> word;
    EXPECT_EQ(word, std::string(600 - CTextArchive::kMaxWord, 'F'));
    ar >> word;
    EXPECT_EQ(word, "tail");
    std::string line;
    ar.ReadLine(line); // the rest of the "tail" line
    ASSERT_TRUE(ar.ReadLine(line));
    EXPECT_EQ(line.size(), static_cast<size_t>(CTextArchive::kMaxLine));
    // The cut line fails the stream, so the next header is reported.
    EXPECT_THROW(ar.Expect("[ndays]"), int);
}

} // namespace
