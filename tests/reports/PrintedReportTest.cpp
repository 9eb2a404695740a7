// A report grid laid out for paper: page sizes, margins, column widths, the columns and
// rows that print, fonts and page breaks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "reports/PrintedReport.h"

namespace keltro::reports {
namespace {

using ::testing::ElementsAre;

ReportFormat portraitA4() {
    ReportFormat f;
    f.fontName = "DejaVu Sans";
    f.fontSize = 9;
    f.rowHeight = 16;
    f.topMargin = f.bottomMargin = f.leftMargin = f.rightMargin = 10;
    f.orientation = 1;
    f.paperSize = "A4 (210x297 mm)";
    return f;
}

framework::Grid gridOf(std::vector<std::pair<std::string, int>> columns, std::size_t rows) {
    framework::Grid grid{.name = "dbgrid1"};
    for (const auto& [caption, width] : columns) grid.columns.push_back({.caption = caption, .width = width});
    for (std::size_t r = 0; r < rows; ++r) {
        framework::GridRow row;
        for (const auto& [caption, width] : columns) row[caption] = caption + " " + std::to_string(r);
        grid.rows.push_back(row);
    }
    return grid;
}

TEST(PrintedReport, PageSizesInPoints) {
    struct Case {
        std::optional<std::string> paper;
        std::optional<double> width, height;
        std::optional<std::string> unit;
        double pointsWide, pointsHigh;
    };
    const std::vector<Case> cases = {
        {"A4 (210x297 mm)", 210, 297, "mm", 595, 842},
        {"LETTER (8.5x11 in.)", 8.5, 11, "inch", 612, 792},
        {"Letter (8.5x11 in.)", {}, {}, {}, 612, 792},
        {"B5 (182x257 mm)", 182, 257, "mm", 516, 729},
        {"User defined paper size", 210, 297, "mm", 595, 842},
        {"User defined paper size", 8.5, 14, "inch", 612, 1008},
        {"User defined paper size", 100, {}, "mm", 612, 792},  // a size missing: the default page
        {{}, {}, {}, {}, 612, 792},
    };
    for (const auto& c : cases) {
        ReportFormat f;
        f.paperSize = c.paper;
        f.width = c.width;
        f.height = c.height;
        f.unit = c.unit;
        const PageSize page = PageSizeOf(f);
        EXPECT_EQ(page.width, c.pointsWide) << c.paper.value_or("(none)");
        EXPECT_EQ(page.height, c.pointsHigh) << c.paper.value_or("(none)");
    }
}

TEST(PrintedReport, ColumnsShareTheUsableWidthByTheirGridWidths) {
    EXPECT_THAT(PrintedWidths({1000, 3000}, 400), ElementsAre(100, 300));
    EXPECT_THAT(PrintedWidths({1440, 1440, 2880}, 500), ElementsAre(125, 125, 250));

    // A4 less 10 mm each side: 595 - 2 x 28.35 points, split 1 : 3 from the left margin.
    const auto report = LayOutReport(portraitA4(), gridOf({{"a", 1000}, {"b", 3000}, {"c", 500}}, 2),
                                     {"b", "a"}, {"Bluefield", "CUSTOMER INVOICES", "06/12/2026"});
    ASSERT_EQ(report.columns.size(), 2u);
    EXPECT_NEAR(report.usableWidth(), 538.3, 0.1);
    EXPECT_EQ(report.columns[0].caption, "b");
    EXPECT_NEAR(report.columns[0].left, 28.35, 0.01);
    EXPECT_EQ(report.columns[0].width, 404);
    EXPECT_EQ(report.columns[1].width, 135);
    EXPECT_THAT(report.rows, ElementsAre(ElementsAre("b 0", "a 0"), ElementsAre("b 1", "a 1")));
    EXPECT_EQ(report.titleLines[0].centre, "Bluefield");
    EXPECT_EQ(report.titleLines[1].right, "print : 06/12/2026");
}

TEST(PrintedReport, WhatPrints) {
    std::vector<std::pair<std::string, int>> many;
    std::vector<std::string> ticked;
    for (int c = 0; c < 25; ++c) {
        many.push_back({"col" + std::to_string(c), 100});
        ticked.push_back("col" + std::to_string(c));
    }
    auto grid = gridOf(many, 3);
    grid.rows.push_back({{"col2", "only in the third cell"}});  // first two cells empty: not printed
    grid.rows.push_back({});
    grid.columns[4].visible = false;
    const auto report = LayOutReport(portraitA4(), grid, ticked, {});
    EXPECT_EQ(report.columns.size(), 21u) << "at most 21 columns";
    EXPECT_EQ(report.columns.back().caption, "col21") << "the hidden column does not count";
    EXPECT_EQ(report.rows.size(), 3u);

    EXPECT_TRUE(LayOutReport(portraitA4(), grid, {}, {}).columns.empty());
}

TEST(PrintedReport, FontsPagesShadingAndOrientation) {
    auto grid = gridOf({{"a", 100}, {"b", 100}}, 100);
    grid.columns[1].fontName = "DejaVu Serif";
    grid.columns[1].italic = true;
    grid.columns[1].fontColor = 0x0000FF;  // red
    ReportFormat format = portraitA4();
    format.fontColor = 0x800000;  // navy
    format.bold = true;
    auto report = LayOutReport(format, grid, {"a", "b"}, {});
    EXPECT_EQ(report.columns[1].font.name, "DejaVu Sans");
    EXPECT_TRUE(report.columns[1].font.bold);
    EXPECT_EQ(report.columns[1].font.colour, (PrintColour{0, 0, 128}));

    format.useGridFont = true;
    report = LayOutReport(format, grid, {"a", "b"}, {});
    EXPECT_EQ(report.columns[0].font.name, "DejaVu Sans");
    EXPECT_EQ(report.columns[1].font.name, "DejaVu Serif");
    EXPECT_TRUE(report.columns[1].font.italic);
    EXPECT_EQ(report.columns[1].font.colour, (PrintColour{255, 0, 0}));

    // Every row fits above the bottom margin; the next page takes the rest.
    EXPECT_LE(report.rowTop(report.rowsPerPage - 1) + report.rowHeight, report.bottom);
    EXPECT_GT(report.rowTop(report.rowsPerPage - 1) + 2 * report.rowHeight, report.bottom);
    EXPECT_EQ(report.pageCount(), (100 + report.rowsPerPage - 1) / report.rowsPerPage);
    EXPECT_EQ(report.rowTop(report.rowsPerPage), report.firstRowTop());
    EXPECT_FALSE(report.shaded(0));
    EXPECT_TRUE(report.shaded(1));
    format.disabledEvenRowColor = true;
    EXPECT_FALSE(LayOutReport(format, grid, {"a"}, {}).shaded(1));

    format.orientation = 2;
    report = LayOutReport(format, grid, {"a"}, {});
    EXPECT_TRUE(report.landscape);
    EXPECT_EQ(report.page.width, 842);
    EXPECT_EQ(report.page.height, 595);
    format.orientation.reset();
    EXPECT_TRUE(LayOutReport(format, grid, {"a"}, {}).landscape) << "no orientation reads as landscape";
}

}  // namespace
}  // namespace keltro::reports
