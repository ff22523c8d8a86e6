#include "plotlib/core/DataText.h"
#include "plotlib/core/ExportText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace mirla {
namespace {

std::vector<std::string> Fields(std::string_view line, const TDelimiterSet& set) {
    std::vector<std::string> fields;
    while (!line.empty())
        fields.emplace_back(TakeField(line, set));
    return fields;
}

TDelimiterSet Choices(bool space, bool comma, bool tab, bool slash, std::string_view user) {
    return TDelimiterSet::FromChoices(space, comma, tab, slash, user).value();
}

TEST(FieldSplitting, DelimiterRules) {
    struct TCase {
        const char* Name;
        std::string Line;
        TDelimiterSet Set;
        std::vector<std::string> Expected;
    };
    const TDelimiterSet start;
    const TCase cases[] = {
        {"the first delimiter of the set found anywhere decides", "1,2 3", start, {"1,2", "3"}},
        {"repeated delimiters count once", "1   2", start, {"1", "2"}},
        {"without a delimiter the line is one field", "12.5", start, {"12.5"}},
        {"a leading delimiter gives an empty field", " 1 2", start, {"", "1", "2"}},
        {"comma when there is no space", "1,,2,3", start, {"1", "2", "3"}},
        {"tab comes after comma", "a\tb,c", start, {"a\tb", "c"}},
        {"slash when ticked", "4/5", Choices(false, false, false, true, ""), {"4", "5"}},
        {"unticked slots are skipped", "1 2;3", Choices(false, false, false, false, ";"), {"1 2", "3"}},
        {"user characters in their order", "1;2:3", Choices(false, false, false, false, ":;"), {"1;2", "3"}},
        {"a delimiter run at the end is dropped", "7,,", start, {"7"}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(Fields(c.Line, c.Set), c.Expected) << c.Name;
}

TEST(FieldSplitting, SetsFromChoices) {
    EXPECT_EQ(TDelimiterSet().Slots(), std::string_view(" ,\t\0\0", 5));
    EXPECT_EQ(Choices(true, false, true, true, "ab").Slots(), std::string_view(" \0\t/ab", 6));
    EXPECT_TRUE(TDelimiterSet::FromChoices(true, true, true, true, "123456"));
    EXPECT_FALSE(TDelimiterSet::FromChoices(true, true, true, true, "1234567"));
    EXPECT_EQ(NthField("1,2,3", 3, TDelimiterSet()), "3");
    EXPECT_EQ(NthField("1,2,3", 4, TDelimiterSet()), "");
}

TEST(TextLinesTest, EveryLineEndEndsALineAndEmptyLinesAreDropped) {
    const std::vector<std::string_view> expected = {"a", "b", "c", "d"};
    EXPECT_EQ(TextLines("a\nb\r\nc\rd"), expected);
    EXPECT_EQ(TextLines("\r\n\na\n\n\rb\r\r\nc\nd\n"), expected);
    EXPECT_TRUE(TextLines("").empty());
}

TEST(NumberReading, DecimalPointOnlyAndFiniteOnly) {
    struct TCase {
        const char* Text;
        std::optional<double> Expected;
    };
    const TCase cases[] = {
        {"1.5", 1.5},    {" -2.25\t", -2.25}, {"+3", 3.0},   {"1e3", 1000.0}, {".5", 0.5},
        {"1e-400", 0.0}, {"1,5", {}},         {"1e999", {}}, {"inf", {}},     {"nan", {}},
        {"", {}},        {"x", {}},           {"1 2", {}},   {"+-1", {}},     {"0x10", {}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ReadDataNumber(c.Text), c.Expected) << '"' << c.Text << '"';
}

TEST(NumberReading, WrittenNumbersReadBack) {
    for (const double value : {0.1, -1e-5, 123456789.125, 1e300, 2.0 / 3.0}) {
        EXPECT_EQ(ReadDataNumber(ExactNumberText(value)), value) << value;
        EXPECT_NEAR(*ReadDataNumber(DataNumberText(value)), value, std::abs(value) * 1e-14) << value;
    }
    EXPECT_EQ(DataNumberText(0.1), "0.1");
    EXPECT_EQ(DataNumberText(1e-5), "1e-05");
    EXPECT_EQ(DataNumberText(100), "100");
}

TEST(ImportGridTest, ReadingStopsAtTheFirstBadRow) {
    TImportGrid grid;
    grid.Add("1", "2");
    grid.Add("3", "4");
    grid.Add("x", "5");
    grid.Add("6", "7");
    const TGridPoints points = GridToPoints(grid);
    EXPECT_EQ(points.X, (std::vector<double>{1, 3}));
    EXPECT_EQ(points.Y, (std::vector<double>{2, 4}));
    grid.Clear();
    grid.Add("1", "");
    EXPECT_TRUE(GridToPoints(grid).X.empty());
}

TEST(ImportGridTest, PasteAndFileColumns) {
    const std::vector<std::string_view> lines = {"1 10 100", "2,20", "3"};
    TImportGrid grid;
    ASSERT_TRUE(PasteLines(lines, TDelimiterSet(), grid));
    EXPECT_EQ(grid.X, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(grid.Y, (std::vector<std::string>{"10", "20", ""}));
    ASSERT_TRUE(ColumnsOfLines(lines, 3, 1, TDelimiterSet(), grid));
    EXPECT_EQ(grid.X, (std::vector<std::string>{"100", "", ""}));
    EXPECT_EQ(grid.Y, (std::vector<std::string>{"1", "2", "3"}));
}

TEST(ImportGridTest, ProgressCanStopALongSplit) {
    const std::vector<std::string_view> lines(100000, "1 2");
    TImportGrid grid;
    std::size_t reports = 0;
    EXPECT_FALSE(PasteLines(lines, TDelimiterSet(), grid, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, lines.size());
        return done == 0 || ++reports < 2;
    }));
    EXPECT_LT(grid.Rows(), lines.size());
}

TEST(FieldNamesTest, DelimiterOfTheNamesLine) {
    EXPECT_EQ(FieldNames("t\tv,w x"), (std::vector<std::string>{"t", "v,w x"}));
    EXPECT_EQ(FieldNames("t,v w"), (std::vector<std::string>{"t", "v w"}));
    EXPECT_EQ(FieldNames("t  v"), (std::vector<std::string>{"t", "v"}));
}

TEST(FieldLinksTest, LinksFillTheGridFromTheFollowingLines) {
    const std::vector<std::string> inputs = {"time", "volt", "amp"};
    const std::vector<std::string> required = {"X", "Y"};
    TFieldLinks links;
    links.Link(0, 1);
    links.Link(1, 2);
    links.Link(0, 0); // replaces the first link of X
    EXPECT_EQ(links.MemoLines(inputs, required),
              (std::vector<std::string>{"amp   <--Copy---   Y", "time   <--Copy---   X"}));
    TImportGrid grid;
    links.FillGrid({"time,volt,amp", "1,2,3", "4,5,6"}, grid);
    EXPECT_EQ(grid.X, (std::vector<std::string>{"1", "4"}));
    EXPECT_EQ(grid.Y, (std::vector<std::string>{"3", "6"}));
}

TEST(ColumnNumberTest, WholeNumbersFromOne) {
    EXPECT_EQ(ReadColumnNumber(" 2 "), 2);
    for (const char* bad : {"", "0", "-1", "1.5", "a"})
        EXPECT_FALSE(ReadColumnNumber(bad)) << bad;
}

TEST(ExportTextTest, OptionsAndColumnOrders) {
    const std::vector<double> x = {1, 2.5};
    const std::vector<double> y = {-3, 1e-7};
    const TExportSource source{"s", "Title A\nTitle B", "Foot", "X", "Y", x, y};
    struct TCase {
        const char* Name;
        TExportOptions Options;
        std::vector<std::string> Expected;
        bool Valid = true;
    };
    const TCase cases[] = {
        {"points only, tab", {}, {"1\t-3", "2.5\t1e-07"}},
        {"every part",
         {true, true, true, true, true, 1, 2, ';'},
         {"s", "Title A", "Title B", "X;Y", "1;-3", "2.5;1e-07", "Foot"}},
        {"columns 2, 1 with comma put Y first",
         {false, false, true, true, false, 2, 1, ','},
         {"Y,X", "-3,1", "1e-07,2.5"}},
        {"only the X axis name", {false, false, true, false, false, 1, 2, ' '}, {"X", "1 -3", "2.5 1e-07"}},
        {"only the Y axis name", {false, false, false, true, false, 1, 2, ' '}, {"Y", "1 -3", "2.5 1e-07"}},
        {"refused columns stop after the title",
         {true, true, true, true, true, 1, 1, ','},
         {"s", "Title A", "Title B"},
         false},
        {"a column beyond 2 is refused", {false, false, false, false, false, 3, 1, ','}, {}, false},
    };
    for (const TCase& c : cases) {
        const TExportText text = ExportLines(source, c.Options);
        EXPECT_EQ(text.Lines, c.Expected) << c.Name;
        EXPECT_EQ(text.ColumnsValid, c.Valid) << c.Name;
    }
    EXPECT_EQ(JoinedLines({"a", "b"}), "a\nb\n");
}

} // namespace
} // namespace mirla
