#include "CheckTestSupport.h"

#include "CompileHelper.h"
#include "GEPicture.h"
#include "GEStaticTxt.h"
#include "ReportFormat.h"

#include <QImage>

#include <gtest/gtest.h>

#include <numeric>

namespace {

std::uint32_t SectionBytes(const ImageBudget& budget, const QString& name) {
    for (const BudgetSection& section : budget.sections) {
        if (section.name == name)
            return section.bytes;
    }
    ADD_FAILURE() << "no section " << name.toStdString();
    return 0;
}

// The budget's compile leaves the glyphs blank, but every size and address is the real image's.
TEST(Budget, MeasuresTheImageTheCompilerBuilds) {
    auto project = DemoProject();
    QByteArray image;
    QString error;
    CCompileHelper compiler;
    ASSERT_TRUE(compiler.Compile(*project, image, error)) << error.toStdString();
    const ImageBudget budget = MeasureImage(*project);
    ASSERT_TRUE(budget.compiled);
    EXPECT_EQ(budget.imageBytes, image.size());
    ASSERT_EQ(budget.sections.size(), 10u);
    std::uint32_t next = 0x8000;
    for (const BudgetSection& section : budget.sections) {
        EXPECT_EQ(section.address, next) << section.name.toStdString();
        next += section.bytes;
    }
    EXPECT_EQ(next - 0x8000, budget.imageBytes);
    // The non-glyph sections hold the same bytes as the compiled image.
    const BudgetSection& glyphsEnd = budget.sections[5];
    CCompileHelper measuring;
    measuring.SetLayoutOnly(true);
    QByteArray layout;
    ASSERT_TRUE(measuring.Compile(*project, layout, error));
    EXPECT_EQ(layout.left(68), image.left(68));
    const qsizetype from = glyphsEnd.address - 0x8000;
    EXPECT_EQ(layout.mid(from), image.mid(from));
}

TEST(Budget, NamesTheLargestContributors) {
    auto project = BaseProject();
    const auto picture = [&](int frameId, int width, int height) {
        auto& e = Add<CGEPicture>(*project, QRect(0, 0, width, height), frameId);
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        EXPECT_TRUE(e.SetBitmap(image));
    };
    picture(1, 10, 10);
    picture(2, 100, 50);
    auto& text = Add<CGEStaticTxt>(*project, QRect(0, 100, 10, 10), 2);
    text.m_nFontSize = 24;
    text.SetText(QStringLiteral("一二三ab"));
    auto& small = Add<CGEStaticTxt>(*project, QRect(0, 150, 10, 10), 2);
    small.m_nFontSize = 16;
    small.SetText(QStringLiteral("四"));

    const ImageBudget budget = MeasureImage(*project);
    ASSERT_TRUE(budget.compiled);
    ASSERT_EQ(budget.pictures.size(), 2u);
    EXPECT_EQ(budget.pictures[0].frameId, 2);
    EXPECT_EQ(budget.pictures[0].element, 0) << "a picture goes to the back";
    EXPECT_EQ(budget.pictures[0].bytes, 8u + 100 * 50 * 2);
    EXPECT_EQ(budget.pictures[1].bytes, 8u + 10 * 10 * 2);
    ASSERT_EQ(budget.fonts.size(), 2u);
    EXPECT_EQ(budget.fonts[0].face, QStringLiteral("宋体"));
    EXPECT_EQ(budget.fonts[0].size, 24);
    EXPECT_EQ(budget.fonts[0].fullWidthGlyphs, 3);
    EXPECT_EQ(budget.fonts[0].halfWidthGlyphs, 2);
    EXPECT_EQ(budget.fonts[0].bytes, 3u * 72 + 2u * 48);
    EXPECT_EQ(budget.fonts[1].size, 16);
    EXPECT_EQ(budget.fonts[1].bytes, 32u);
    ASSERT_EQ(budget.frames.size(), 2u);
    EXPECT_EQ(budget.frames[0].frameId, 2);
    EXPECT_EQ(budget.frames[0].elements, 3);
    // Picture records are 11 bytes; a static text's is 13 bytes and its text bytes.
    EXPECT_EQ(budget.frames[0].bytes, 13u + 3 * 5 + 11 + (13 + 8) + (13 + 2));
    EXPECT_EQ(budget.frames[1].bytes, 13u + 5 + 11);

    const auto sum = [](const auto& list) {
        return std::accumulate(
            list.begin(), list.end(), 0u,
            [](std::uint32_t total, const auto& item) { return total + item.bytes; });
    };
    EXPECT_EQ(sum(budget.pictures) + 2, SectionBytes(budget, "pictures"));
    EXPECT_EQ(sum(budget.frames), SectionBytes(budget, "frame table") +
                                      SectionBytes(budget, "element index") +
                                      SectionBytes(budget, "element records"));
    EXPECT_EQ(sum(budget.fonts), SectionBytes(budget, "full-width glyphs") +
                                     SectionBytes(budget, "half-width glyphs"));
    EXPECT_EQ(BudgetSummary(budget), QStringLiteral("镜像 11 / 1024 KB"));
}

TEST(Budget, AProjectThatDoesNotCompileHasNone) {
    auto project = BaseProject();
    for (int i = 0; i < 256; ++i)
        Add<CGEStaticTxt>(*project, QRect(0, 0, 10, 10));
    const ImageBudget budget = MeasureImage(*project);
    EXPECT_FALSE(budget.compiled);
    EXPECT_TRUE(budget.error.contains(QStringLiteral("超过 255 个"))) << budget.error.toStdString();
    EXPECT_EQ(BudgetSummary(budget), QStringLiteral("镜像 ? / 1024 KB"));
    EXPECT_EQ(BudgetLines(budget), QStringList{QStringLiteral("image not compiled")});
}

} // namespace
