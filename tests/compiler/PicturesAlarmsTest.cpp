#include "AtomicFile.h"
#include "BuildOutputs.h"
#include "CompileHelper.h"
#include "CompilerTestSupport.h"
#include "GEPicture.h"
#include "Pictures.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

CGEPicture& AddPicture(CKoravelProject& project, int width, int height, QRgb colour) {
    CGEPicture& picture = AddElement<CGEPicture>(project);
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(picture.SetBitmap(image));
    picture.m_nWidth = width;
    picture.m_nHeight = height;
    return picture;
}

TEST(Pictures, SectionTableAndRecords) {
    auto project = NewProject();
    // A picture goes to the back of its frame: the 10 x 2 one is drawn first, number 0.
    AddPicture(*project, 4, 4, qRgb(0, 0, 255));
    AddPicture(*project, 10, 2, qRgb(255, 0, 0));
    const QByteArray image = CompileImage(*project);
    const std::uint32_t section = LE32(image, 52);
    EXPECT_EQ(LE32(image, 2) - section, 90u);
    EXPECT_EQ(At(image, section, 18).toHex(), QByteArray("0002"
                                                         "0000001200000028"
                                                         "0000003a00000020"));
    EXPECT_EQ(At(image, section + 18, 40), QByteArray::fromHex(QByteArray("00f8").repeated(20)));
    EXPECT_EQ(At(image, section + 58, 2), QByteArray("\x1F\x00", 2));
    const std::uint32_t first = RecordAddress(image, 0);
    EXPECT_EQ(RecordLength(image, 0), 11);
    EXPECT_EQ(At(image, first + 4, 7).toHex(), QByteArray("00000a00020000"));
    EXPECT_EQ(BE16(image, RecordAddress(image, 1) + 9), 1u);
}

TEST(Pictures, RowsAreWrittenTopDownAsRgb565LowByteFirst) {
    auto project = NewProject();
    CGEPicture& picture = AddElement<CGEPicture>(*project);
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(1, 0, qRgb(0, 255, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(0x84, 0x82, 0x08));
    ASSERT_TRUE(picture.SetBitmap(image));
    picture.m_nWidth = picture.m_nHeight = 2;
    EXPECT_EQ(PictureData(picture).toHex(), QByteArray("00f8e0071f000184"));
}

TEST(Pictures, MissingPixelsAreBlackAndNothingIsReadPastTheData) {
    auto project = NewProject();
    CGEPicture& picture = AddPicture(*project, 4, 4, qRgb(255, 255, 255));
    // A damaged project: the stored data holds one row fewer than the header claims, and the
    // element is wider than its bitmap.
    picture.m_Data.chop(16);
    picture.m_nWidth = 5;
    const QByteArray data = PictureData(picture);
    ASSERT_EQ(data.size(), 5 * 4 * 2);
    EXPECT_EQ(data.left(8), QByteArray(8, '\0')) << "the top row is the missing one";
    EXPECT_EQ(data.mid(10, 8), QByteArray(8, '\xFF'));
    EXPECT_EQ(data.mid(18, 2), QByteArray(2, '\0')) << "beyond the bitmap's width";

    CGEPicture& empty = AddElement<CGEPicture>(*project);
    empty.m_nWidth = empty.m_nHeight = 8;
    const QByteArray image = CompileImage(*project);
    const std::uint32_t section = LE32(image, 52);
    EXPECT_EQ(BE32(image, section + 2 + 4), 0u) << "no bitmap, no data";
}

TEST(Pictures, PicturesFarBeyondAnyImageFailTheCompileBeforeTheyAreConverted) {
    // Element sizes of a damaged file: 100000 x 100000 would once have taken 20 GB.
    struct Case {
        int width;
        int height;
        int count;
        bool compiles;
    } const cases[] = {
        {100000, 100000, 1, false},
        {1024, 256, 2, true}, // 1 MiB of pixels together
        {4096, 2048, 2, false}, // 32 MiB: no conversion is tried
    };
    for (const Case& c : cases) {
        auto project = NewProject();
        for (int i = 0; i < c.count; ++i) {
            CGEPicture& picture = AddPicture(*project, 2, 2, qRgb(255, 255, 255));
            picture.m_nWidth = c.width;
            picture.m_nHeight = c.height;
        }
        QByteArray image;
        QString error;
        EXPECT_EQ(CCompileHelper().Compile(*project, image, error), c.compiles) << c.count;
        EXPECT_EQ(error, c.compiles ? QString() : kImageTooLargeMessage) << c.count;
    }
}

TEST(Alarms, SectionHoldsTheTextsWithContent) {
    auto project = NewProject();
    CAlarmList& alarms = project->EnsureAlarmList();
    alarms.m_Alarm.SetRegType(UnitType(PLC_ALARM, "A"), 0);
    alarms.m_Alarm.SetStation(3);
    alarms.m_Alarm.SetAddress(0x0120);
    alarms.m_Alarm.SetSubAddr(4);
    alarms.m_Alarm.SetShift(2);
    alarms.m_nBkColor = 0x000000FF;
    alarms.m_nTxtBkColor = 0x0000FF00;
    alarms.m_nTxtForeColor = 0x00FF0000;
    alarms.m_bTextBackground = true;
    alarms.m_nFontSize = 32;
    (*alarms.m_pTexts)[0].m_strContent = "ab";
    (*alarms.m_pTexts)[2].m_strContent = QStringLiteral("报a");
    const QByteArray image = CompileImage(*project);
    const std::uint32_t at = LE32(image, 64);
    EXPECT_EQ(LE32(image, 6), at);
    EXPECT_EQ(static_cast<int>(image[42]), 1);
    EXPECT_EQ(At(image, at, 27).toHex(), QByteArray("0000000000"
                                                    "030601200004020203"
                                                    "f80007e0001f"
                                                    "010002"
                                                    "00000000"));
    EXPECT_EQ(At(image, at + 27, 8).toHex(), QByteArray("00000022"
                                                        "00000026"));
    EXPECT_EQ(At(image, at + 1 + 0x22, 4).toHex(), QByteArray("00020001"));
    EXPECT_EQ(At(image, at + 1 + 0x26, 5).toHex(), QByteArray("0003c00000"));
    EXPECT_EQ(image.size(), static_cast<qsizetype>(at - 0x8000 + 27 + 8 + 4 + 5));
}

TEST(Alarms, WithoutAnAlarmListThereIsNoSectionAndNoneIsAdded) {
    auto project = NewProject();
    const QByteArray none = CompileImage(*project);
    EXPECT_EQ(static_cast<int>(none[42]), 0);
    EXPECT_EQ(LE32(none, 64), 0x8000u + static_cast<std::uint32_t>(none.size()));
    EXPECT_EQ(LE32(none, 6), LE32(none, 64));
    EXPECT_EQ(project->m_pAlarmList, nullptr);
    EXPECT_EQ(project->m_pSetting, nullptr);

    // An alarm list without texts has its 27-byte section, and still no alarms.
    project->EnsureAlarmList();
    const QByteArray empty = CompileImage(*project);
    EXPECT_EQ(empty.size(), none.size() + 27);
    EXPECT_EQ(static_cast<int>(empty[42]), 0);
}

} // namespace
