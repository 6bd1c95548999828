#include "CompileHelper.h"
#include "CompilerTestSupport.h"
#include "FontRegistry.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GlyphRaster.h"

#include <gtest/gtest.h>

namespace {

const QString kFace = QStringLiteral("宋体");

QString Han(int k) {
    return QString(QChar(static_cast<char16_t>(0x4E00 + k)));
}

TEST(TextEncoding, HalfAndFullWidthGlyphNumbers) {
    CFontRegistry fonts;
    QByteArray out;
    ASSERT_TRUE(fonts.Encode("AB", kFace, 16, out));
    EXPECT_EQ(out, QByteArray("\x00\x01", 2));
    out.clear();
    ASSERT_TRUE(fonts.Encode("AB", kFace, 16, out));
    EXPECT_EQ(out, QByteArray("\x00\x01", 2));
    EXPECT_EQ(fonts.Entries()[0].half[0].chars.size(), 2u);

    QString many;
    for (int k = 0; k < 257; ++k)
        many += Han(k);
    out.clear();
    ASSERT_TRUE(fonts.Encode(many, kFace, 20, out)) << "20 px is size index 0";
    EXPECT_EQ(out.left(2), QByteArray("\xC0\x00", 2));
    EXPECT_EQ(out.right(2), QByteArray("\xC1\x00", 2));
    EXPECT_EQ(fonts.Entries()[0].full[0].chars.size(), 257u);
    EXPECT_EQ(EncodedLength("A" + Han(0)), 3);
}

TEST(TextEncoding, FontsAreToldApartByExactName) {
    CFontRegistry fonts;
    EXPECT_EQ(fonts.FontNumber("Face"), 0);
    EXPECT_EQ(fonts.FontNumber("face"), 1);
    EXPECT_EQ(fonts.FontNumber("Face"), 0);
}

TEST(TextEncoding, GlyphNumbersStopAt0x3FFF) {
    CFontRegistry fonts;
    QString text;
    for (int k = 0; k < kMaxFullWidthGlyphs; ++k)
        text += Han(k);
    QByteArray out;
    ASSERT_TRUE(fonts.Encode(text, kFace, 16, out));
    EXPECT_EQ(out.right(2), QByteArray("\xFF\xFF", 2));
    EXPECT_TRUE(fonts.Encode(Han(5), kFace, 16, out)) << "a known character still encodes";
    EXPECT_FALSE(fonts.Encode(Han(kMaxFullWidthGlyphs), kFace, 16, out));
}

TEST(TextEncoding, TextsAreCutAt255BytesOnACharacterBoundary) {
    struct Case {
        QString text;
        int kept;
    };
    const QString pair = QString::fromUtf16(u"\U00020000");
    const Case cases[] = {
        {QString(300, 'a'), 255},
        {QString(254, 'a') + Han(0), 254},
        {QString(253, 'a') + Han(0), 255},
        {QString(252, 'a') + pair + "b", 252},
        {QString(251, 'a') + pair + "b", 255},
        {QString(10, 'a'), 10},
    };
    for (const Case& c : cases) {
        const QString cut = CutToTextBytes(c.text);
        EXPECT_EQ(EncodedLength(cut), c.kept);
        EXPECT_TRUE(c.text.startsWith(cut));
    }
}

TEST(TextEncoding, LongStaticTextWritesA255ByteCount) {
    auto project = NewProject();
    CGEStaticTxt& text = AddElement<CGEStaticTxt>(*project);
    text.m_strText = QString(201, 'x') + QString(40, QChar(0x4E00)) + Han(1);
    text.m_strFontName = kFace;
    text.m_nFontSize = 16;
    const QByteArray image = CompileImage(*project);
    EXPECT_EQ(U8(image, RecordAddress(image, 0) + 5), 255) << "201 + 27 x 2, the rest dropped";
    EXPECT_EQ(RecordLength(image, 0), 13 + 255);
    EXPECT_EQ(LE32(image, 14) - 0x8044, 32u + 32u) << "one full-width glyph of 32 bytes";
}

TEST(TextEncoding, TooManyGlyphsFailsNamingFrameAndElement) {
    auto project = NewProject(2);
    AddElement<CGEStaticTxt>(*project, 1);
    for (int n = 0; n < 130; ++n) {
        CGEStaticTxt& text = AddElement<CGEStaticTxt>(*project, 1);
        text.m_strFontName = kFace;
        text.m_nFontSize = 16;
        for (int k = 0; k < 127; ++k)
            text.m_strText += Han(n * 127 + k);
    }
    QByteArray image;
    QString error;
    EXPECT_FALSE(CCompileHelper().Compile(*project, image, error));
    EXPECT_TRUE(error.contains(QStringLiteral("画面 2 的第 131 个控件"))) << error.toStdString();
    EXPECT_TRUE(error.contains(kFace));
}

TEST(GlyphTables, OffsetsOfTwoFontsCountFromTheTableStart) {
    auto project = NewProject();
    CGEStaticTxt& a = AddElement<CGEStaticTxt>(*project);
    a.m_strFontName = "A";
    a.m_nFontSize = 16;
    a.m_strText = Han(0);
    CGEStaticTxt& b = AddElement<CGEStaticTxt>(*project);
    b.m_strFontName = "B";
    b.m_nFontSize = 16;
    b.m_strText = "x";
    const QByteArray image = CompileImage(*project);
    const std::uint32_t full = LE32(image, 10);
    const std::uint32_t half = LE32(image, 14);
    EXPECT_EQ(half - full, 64u + 32u);
    EXPECT_EQ(BE32(image, full), 64u);
    for (std::uint32_t i = 1; i < 16; ++i)
        EXPECT_EQ(BE32(image, full + 4 * i), 96u) << "entry " << i;
    // Half-width: font A has none, font B one 16-byte glyph at size 0.
    for (std::uint32_t i = 0; i < 9; ++i)
        EXPECT_EQ(BE32(image, half + 4 * i), 64u) << "entry " << i;
    for (std::uint32_t i = 9; i < 16; ++i)
        EXPECT_EQ(BE32(image, half + 4 * i), 80u) << "entry " << i;
    EXPECT_EQ(LE32(image, 52), half + 64 + 16);
    EXPECT_EQ(At(image, RecordAddress(image, 1) + 11, 3), QByteArray("\x01\x00\x00", 3));
}

TEST(GlyphTables, RegisterFontsStartWithTheTwentyDigitGlyphs) {
    auto project = NewProject();
    CAlarmList& alarms = project->EnsureAlarmList();
    alarms.m_strFontName = kFace;
    alarms.m_nFontSize = 24;
    alarms.m_pTexts->operator[](0).m_strContent = "Zz";
    CGERegister& reg = AddElement<CGERegister>(*project);
    reg.m_strFontName = kFace;
    reg.m_nFontSize = 24;
    CGEStaticTxt& text = AddElement<CGEStaticTxt>(*project);
    text.m_strFontName = kFace;
    text.m_nFontSize = 24;
    text.m_strText = "A0";

    CCompileHelper compiler;
    QByteArray image;
    QString error;
    ASSERT_TRUE(compiler.Compile(*project, image, error));
    const std::uint32_t alarm = LE32(image, 64);
    EXPECT_EQ(At(image, alarm + 27 + 4, 4), QByteArray("\x00\x02\x14\x15", 4)) << "Z z after 0-19";
    EXPECT_EQ(At(image, RecordAddress(image, 1) + 13, 2), QByteArray("\x0A\x00", 2));
    // 22 half-width glyphs of 48 bytes at 24 px in the one font.
    const std::uint32_t half = LE32(image, 14);
    EXPECT_EQ(LE32(image, 52) - half, 32u + 22 * 48u);
}

TEST(GlyphRaster, GlyphBitsShowTheCharacterAndNothingForABlank) {
    QByteArray glyphs;
    RasteriseGlyphs(kFace, 16, 8, {u' ', u'I', u'-'}, glyphs);
    ASSERT_EQ(glyphs.size(), 3 * 16);
    EXPECT_EQ(glyphs.left(16), QByteArray(16, '\0'));
    EXPECT_NE(glyphs.mid(16, 16), QByteArray(16, '\0'));
    // A dash is one or two rows in the middle of the cell, never at the top or bottom.
    const QByteArray dash = glyphs.mid(32, 16);
    EXPECT_EQ(dash[0], '\0');
    EXPECT_EQ(dash[15], '\0');
    EXPECT_LE(dash.count('\0'), 15);

    QByteArray full;
    RasteriseGlyphs(kFace, 24, 24, {u'国'}, full);
    ASSERT_EQ(full.size(), 72);
    EXPECT_GE(full.size() - full.count('\0'), 20) << "a boxed character fills many bytes";
}

} // namespace
