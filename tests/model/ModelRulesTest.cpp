// The model's rules: geometry, stacking, frames, copies, limits, sample texts, pictures of
// lamps and keys, the control register block.

#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "KoravelProject.h"
#include "ModelTestSupport.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

struct RectCase {
    QRect in; // left, top, right, bottom as given
    QRect out;
};

TEST(Geometry, SetRectClampsIntoThePanel) {
    const RectCase cases[] = {
        {QRect(QPoint(-5, 300), QPoint(495, 310)), QRect(0, 262, 480, 10)},
        {QRect(QPoint(10, 20), QPoint(110, 70)), QRect(10, 20, 100, 50)},
        {QRect(QPoint(480, 0), QPoint(520, 30)), QRect(440, 0, 40, 30)},
        {QRect(QPoint(0, -40), QPoint(500, 300)), QRect(0, 0, 480, 272)},
    };
    for (const RectCase& c : cases) {
        CGEBar bar(nullptr);
        bar.SetRect(c.in.left(), c.in.top(), c.in.right(), c.in.bottom());
        EXPECT_EQ(QRect(bar.m_nLeft, bar.m_nTop, bar.m_nWidth, bar.m_nHeight), c.out) << c.in.x();
    }
}

TEST(Geometry, MoveByStaysFlushWithTheEdges) {
    struct Case {
        QRect start;
        int dx, dy;
        QPoint end;
    } const cases[] = {
        {QRect(450, 10, 40, 20), 50, 0, QPoint(440, 10)},
        {QRect(5, 40, 20, 20), -10, -10, QPoint(5, 30)},
        {QRect(100, 250, 20, 20), 0, 30, QPoint(100, 252)},
        {QRect(100, 100, 20, 20), -200, 5, QPoint(100, 105)},
    };
    for (const Case& c : cases) {
        CGEBar bar(nullptr);
        bar.m_nLeft = c.start.x();
        bar.m_nTop = c.start.y();
        bar.m_nWidth = c.start.width();
        bar.m_nHeight = c.start.height();
        bar.MoveBy(c.dx, c.dy);
        EXPECT_EQ(QPoint(bar.m_nLeft, bar.m_nTop), c.end) << c.dx << "," << c.dy;
        EXPECT_EQ(QSize(bar.m_nWidth, bar.m_nHeight), c.start.size());
    }
}

TEST(Geometry, SetDoubleGrowsShiftsAndClamps) {
    CGEBar bar(nullptr);
    bar.SetRect(100, 50, 400, 150);
    bar.SetDouble(true);
    EXPECT_EQ(QRect(bar.m_nLeft, bar.m_nTop, bar.m_nWidth, bar.m_nHeight), QRect(0, 50, 480, 200));
    EXPECT_TRUE(bar.m_bDouble);
    bar.SetDouble(false);
    EXPECT_EQ(QSize(bar.m_nWidth, bar.m_nHeight), QSize(240, 100));
    EXPECT_FALSE(bar.m_bDouble);
    bar.SetDouble(false); // already single: unchanged
    EXPECT_EQ(QSize(bar.m_nWidth, bar.m_nHeight), QSize(240, 100));
}

TEST(Geometry, HitTestAndHandles) {
    CGEBar bar(nullptr);
    bar.SetRect(10, 20, 31, 41);
    EXPECT_TRUE(bar.HitTest(QPoint(9, 19)));
    EXPECT_TRUE(bar.HitTest(QPoint(31, 41)));
    EXPECT_FALSE(bar.HitTest(QPoint(32, 30)));
    EXPECT_EQ(bar.HandlePoint(1), QPoint(10, 20));
    EXPECT_EQ(bar.HandlePoint(4), QPoint(31, 30));
    EXPECT_EQ(bar.HandlePoint(6), QPoint(20, 41));
    EXPECT_EQ(bar.HandlePoint(8), QPoint(10, 30));
}

TEST(Frame, PicturesGoToTheBackAndTakingPicksANeighbour) {
    CHMIFrame frame;
    CGraphBase* texts[3];
    for (auto*& text : texts)
        text = frame.AddElement(std::make_unique<CGEStaticTxt>());
    CGraphBase* picture = frame.AddElement(std::make_unique<CGEPicture>());
    CGraphBase* last = frame.AddElement(std::make_unique<CGEStaticTxt>());
    ASSERT_EQ(frame.m_Parts.size(), 5u);
    EXPECT_EQ(frame.m_Parts.front().get(), picture);
    EXPECT_EQ(frame.m_Parts[1].get(), texts[0]);
    EXPECT_EQ(frame.m_Parts.back().get(), last);
    EXPECT_EQ(frame.m_pCurrentElement, last);

    std::unique_ptr<CGraphBase> taken = frame.TakeElement(frame.IndexOf(texts[1]));
    EXPECT_EQ(taken.get(), texts[1]); // handed over, not destroyed
    EXPECT_EQ(frame.m_pCurrentElement, texts[0]);
    EXPECT_EQ(frame.TakeElement(0).get(), picture);
    EXPECT_EQ(frame.m_pCurrentElement, texts[0]); // nothing before: the one after
    EXPECT_EQ(frame.TakeElement(frame.IndexOf(nullptr)), nullptr);
    EXPECT_EQ(frame.TakeElement(3), nullptr);

    // Inserting puts it back exactly where it was, even a picture above others.
    frame.InsertElement(1, std::move(taken));
    frame.InsertElement(2, std::make_unique<CGEPicture>());
    EXPECT_EQ(frame.m_Parts[1].get(), texts[1]);
    EXPECT_EQ(frame.m_Parts[2]->m_nTypeCode, kTypePicture);
    EXPECT_EQ(frame.m_pCurrentElement, frame.m_Parts[2].get());
    CGraphBase* beyond = frame.InsertElement(99, std::make_unique<CGEBar>(nullptr));
    EXPECT_EQ(beyond, frame.m_Parts.back().get());

    CHMIFrame single;
    single.AddElement(std::make_unique<CGEBar>(nullptr));
    EXPECT_NE(single.TakeElement(0), nullptr);
    EXPECT_EQ(single.m_pCurrentElement, nullptr);
}

TEST(Frame, ElementAtFindsTheTopmost) {
    CHMIFrame frame;
    CGraphBase* below = frame.AddElement(std::make_unique<CGEBar>(nullptr));
    below->SetRect(0, 0, 100, 100);
    CGraphBase* above = frame.AddElement(std::make_unique<CGEBar>(nullptr));
    above->SetRect(50, 50, 150, 150);
    EXPECT_EQ(frame.ElementAt(QPoint(60, 60)), above);
    EXPECT_EQ(frame.ElementAt(QPoint(10, 10)), below);
    EXPECT_EQ(frame.ElementAt(QPoint(300, 10)), nullptr);
}

TEST(Frame, InsertionKeepsIdOrderAndRefusesRepeatedNames) {
    CKoravelProject project;
    for (int id : {3, 1, 2}) {
        auto frame = std::make_unique<CHMIFrame>();
        frame->m_nID = static_cast<std::uint16_t>(id);
        frame->m_strName = QString::number(id);
        ASSERT_NE(project.InsertFrame(std::move(frame)), nullptr);
    }
    std::vector<int> ids, orders;
    for (const auto& frame : project.m_Frames) {
        ids.push_back(frame->m_nID);
        orders.push_back(frame->m_nListOrder);
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(orders, (std::vector<int>{0, 1, 0}));

    struct Case {
        const char* name;
        bool accepted;
    } const names[] = {{"5", true}, {"5 ", true}, {"ab", true}, {"AB", false}, {"3", false}};
    for (const Case& c : names) {
        auto frame = std::make_unique<CHMIFrame>();
        frame->m_strName = QString::fromLatin1(c.name);
        QString message;
        const bool accepted = project.InsertFrame(std::move(frame), &message) != nullptr;
        EXPECT_EQ(accepted, c.accepted) << c.name;
        EXPECT_EQ(message, c.accepted ? QString() : QStringLiteral("Frame Already Exist!"));
    }
}

TEST(Frame, NumberingOfNewCopiedAndDeletedFrames) {
    CKoravelProject project;
    CHMIFrame* first = project.CreateDefaultFrame();
    EXPECT_EQ(first->m_strName, QStringLiteral("1"));
    EXPECT_EQ(first->m_nPrevID, 0);
    EXPECT_EQ(first->m_nNextID, 2);
    first->m_nBkColor = 0x00123456;
    first->m_strDesc = QStringLiteral("desc");
    first->AddElement(std::make_unique<CGEBar>(nullptr));

    EXPECT_EQ(project.TakeFrameNumber(), 2); // proposed, then discarded by the user
    CHMIFrame* copy = project.CopyFrame(*first, project.TakeFrameNumber());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->m_nID, 3);
    EXPECT_EQ(copy->m_strName, QStringLiteral("3"));
    EXPECT_EQ(copy->m_nPrevID, 1);
    EXPECT_EQ(copy->m_nNextID, 4);
    EXPECT_EQ(copy->m_nBkColor, 0x00123456u);
    EXPECT_EQ(copy->m_strDesc, QStringLiteral("desc"));
    EXPECT_EQ(copy->m_Parts.size(), 1u);
    EXPECT_EQ(project.m_pCurrentFrame, copy);
    EXPECT_EQ(project.HighestFrameNumber(), 3);

    const auto deletedCopy = project.DeleteFrames({copy});
    ASSERT_EQ(deletedCopy.size(), 1u);
    EXPECT_EQ(deletedCopy.front().get(), copy); // handed over, not destroyed
    EXPECT_EQ(project.m_pCurrentFrame, first);
    const auto deletedFirst = project.DeleteFrames({first});
    ASSERT_EQ(project.m_Frames.size(), 1u);
    const CHMIFrame& fresh = *project.m_Frames.front();
    EXPECT_EQ(fresh.m_nID, 1);
    EXPECT_EQ(fresh.m_strName, QStringLiteral("1"));
    EXPECT_EQ(fresh.m_nPrevID, 0);
    EXPECT_EQ(fresh.m_nNextID, 2);
    EXPECT_EQ(project.m_pCurrentFrame, &fresh);
    EXPECT_EQ(project.m_nFrameCounter, 2);
}

TEST(Frame, AFifthTrendIsRefused) {
    CKoravelProject project;
    project.CreateDefaultFrame();
    for (int i = 0; i < 4; ++i)
        ASSERT_NE(project.CreateElement(kTypeTrend, QRect(10 * i, 0, 50, 50)), nullptr);
    QString message;
    EXPECT_EQ(project.CreateElement(kTypeTrend, QRect(0, 0, 50, 50), {}, &message), nullptr);
    EXPECT_EQ(message, QStringLiteral("每页只允许放置4个趋势图!"));
    EXPECT_EQ(project.m_pCurrentFrame->CountTrends(), 4);
    EXPECT_EQ(project.CreateElement(kTypeBar, QRect(0, 0, 0, 0)), nullptr);
    auto* text =
        static_cast<CGEStaticTxt*>(project.CreateElement(kTypeStaticText, QRect(5, 5, 9, 9)));
    ASSERT_NE(text, nullptr);
    EXPECT_FALSE(text->m_strText.isEmpty());
}

TEST(Labels, AnnotationTextFollowsTheSwitchesAndThePosition) {
    CKoravelProject project;
    project.m_pCurrentPLC = CompactPLC();
    CHMIFrame* frame = project.CreateDefaultFrame();
    auto* bar = static_cast<CGEBar*>(frame->AddElement(std::make_unique<CGEBar>(CompactPLC())));
    bar->m_Reg.SetAddress(7);
    auto* key =
        static_cast<CGEFuncKey*>(frame->AddElement(std::make_unique<CGEFuncKey>(CompactPLC())));
    key->m_nType = kActionJumpFrame;
    CGraphBase* text = frame->AddElement(std::make_unique<CGEStaticTxt>());
    CGraphBase* picture = frame->AddElement(std::make_unique<CGEPicture>()); // goes to 0

    struct Case {
        AnnotationFlags flags;
        const CGraphBase* element;
        int layer;
        const char* text;
    } const cases[] = {
        {{true, true}, bar, 1, "D7 (1)"}, {{true, false}, bar, 1, "D7"},
        {{false, true}, bar, 1, "(1)"},   {{false, false}, bar, 1, ""},
        {{true, true}, key, 2, "(2)"}, // a jump has no address
        {{true, false}, key, 2, ""},      {{true, true}, text, 3, "(3)"},
        {{true, true}, picture, 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.element->AnnotationText(c.flags, c.layer), QString::fromUtf8(c.text)) << c.text;
    }

    // The file records the annotation of each element at its position when saved, whatever was
    // painted before.
    project.m_Annotations = {true, true};
    QImage image(480, 272, QImage::Format_RGB32);
    QPainter painter(&image);
    bar->DrawLabel(painter, {false, true}, 7);
    const QString saved = SavedText(project);
    EXPECT_TRUE(saved.contains(QStringLiteral("LabelName=\"D7 (1)\"")));
    EXPECT_TRUE(saved.contains(QStringLiteral("LabelName=\"(3)\"")));
    frame->InsertElement(0, frame->TakeElement(frame->IndexOf(bar)));
    EXPECT_TRUE(SavedText(project).contains(QStringLiteral("LabelName=\"D7 (0)\"")));
    project.m_Annotations = {};
    EXPECT_FALSE(SavedText(project).contains(QStringLiteral("LabelName=\"D")));
}

TEST(Undo, TakenFramesAndElementsGoBackExactly) {
    CKoravelProject project;
    project.m_pCurrentPLC = CompactPLC();
    for (int i = 0; i < 4; ++i) {
        CHMIFrame* frame = project.NewFrame(project.TakeFrameNumber(), QString::number(i));
        frame->AddElement(std::make_unique<CGEBar>(CompactPLC()))->SetRect(i, 0, 40, 40);
        frame->AddElement(std::make_unique<CGEStaticTxt>());
    }
    project.m_Frames[2]->m_nListOrder = 9; // kept as it is, not renumbered on the way back
    const QString before = SavedText(project);

    std::vector<std::unique_ptr<CHMIFrame>> taken =
        project.DeleteFrames({project.m_Frames[2].get(), project.m_Frames[1].get()});
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[0]->m_nID, 2); // in list order
    EXPECT_EQ(project.m_pCurrentFrame, project.m_Frames[0].get());
    project.InsertFrameAt(1, std::move(taken[0]));
    project.InsertFrameAt(2, std::move(taken[1]));
    EXPECT_EQ(SavedText(project), before);

    CHMIFrame& frame = *project.m_Frames[3];
    std::unique_ptr<CGraphBase> element = frame.TakeElement(0);
    frame.InsertElement(0, std::move(element));
    EXPECT_EQ(SavedText(project), before);

    // Taking the current frame moves the current frame to a neighbour, never to nothing.
    project.m_pCurrentFrame = project.m_Frames[0].get();
    std::unique_ptr<CHMIFrame> head = project.TakeFrame(0);
    EXPECT_EQ(project.m_pCurrentFrame, project.m_Frames[0].get());
    EXPECT_EQ(project.TakeFrame(3), nullptr);
    project.InsertFrameAt(0, std::move(head));
    EXPECT_EQ(SavedText(project), before);
}

TEST(Copies, EachKindCopiesItsOwnMembers) {
    CGERegister reg(CompactPLC());
    reg.m_nLeft = 33;
    reg.m_byIntegerBits = 7;
    reg.m_nRawUpperLimit = 4000;
    reg.m_nForeColor = 0x00123456;
    reg.m_nUseBorder = 2;
    reg.m_strFontName = QStringLiteral("黑体");
    reg.m_nFrontZero = 0;
    reg.m_Reg.SetAddress(42);
    auto regCopy = reg.Clone();
    auto& r = static_cast<CGERegister&>(*regCopy);
    EXPECT_EQ(r.m_nLeft, 33);
    EXPECT_EQ(r.m_byIntegerBits, 7);
    EXPECT_EQ(r.m_nRawUpperLimit, 4000);
    EXPECT_EQ(r.m_Reg.GetAddress(), 42);
    EXPECT_EQ(r.m_nForeColor, 0x00FF0000u);
    EXPECT_EQ(r.m_nUseBorder, 0);
    EXPECT_EQ(r.m_strFontName, QStringLiteral("宋体"));
    EXPECT_EQ(r.m_nFrontZero, 1);

    CGEIndicator lamp(CompactPLC());
    lamp.m_nShape = 1;
    lamp.m_nONColor = 1;
    lamp.m_nOFFColor = 2;
    const auto lCopy = lamp.Clone();
    auto& l = static_cast<CGEIndicator&>(*lCopy);
    EXPECT_EQ(l.m_nShape, 1);
    EXPECT_EQ(l.m_nONColor, 0x0000FF00u);
    EXPECT_EQ(l.m_nOFFColor, 0x000000FFu);

    CGETrend trend(CompactPLC());
    trend.m_nSamplingPoint = 77;
    trend.m_nPenColor = 5;
    auto trendCopy = trend.Clone();
    EXPECT_EQ(static_cast<CGETrend&>(*trendCopy).m_nSamplingPoint, 77);
    EXPECT_EQ(static_cast<CGETrend&>(*trendCopy).m_nPenColor, 0x000000FFu);

    CGEBar bar(CompactPLC());
    bar.m_nBkColor = 9;
    bar.m_nDrawDir = 3;
    auto barCopy = bar.Clone();
    EXPECT_EQ(static_cast<CGEBar&>(*barCopy).m_nBkColor, 9u);
    EXPECT_EQ(static_cast<CGEBar&>(*barCopy).m_nDrawDir, 3);

    CGEDynamicTxt dyn(CompactPLC());
    dyn.m_nForeColor = 0x00ABCDEF;
    (*dyn.m_pTexts)[0].m_strContent = QStringLiteral("mine");
    (*dyn.m_pTexts)[5].m_strContent = QStringLiteral("five");
    auto dynCopy = dyn.Clone();
    const auto& d = static_cast<CGEDynamicTxt&>(*dynCopy);
    EXPECT_EQ(d.m_nForeColor, 0x00ABCDEFu);
    EXPECT_EQ(d.FirstText().m_strContent, QStringLiteral("动态文字串"));
    EXPECT_TRUE((*d.m_pTexts)[5].m_strContent.isEmpty());

    CGEFuncKey key(CompactPLC());
    key.m_nType = kActionMultiSet;
    key.m_nComboBoxID = 9;
    key.m_bHand = key.m_bHide = key.m_bVisible = true;
    key.m_byGrade = 3;
    key.m_SubMulStatus.m_nAddDelta = 9;
    key.m_SubWire.m_Wire.SetAddress(5);
    const auto kCopy = key.Clone();
    auto& k = static_cast<CGEFuncKey&>(*kCopy);
    EXPECT_EQ(k.m_nType, kActionMultiSet);
    EXPECT_EQ(k.m_nComboBoxID, 9);
    EXPECT_TRUE(k.m_bHand && k.m_bHide && k.m_bVisible);
    EXPECT_EQ(k.m_byGrade, 3);
    EXPECT_EQ(k.m_SubMulStatus.m_nAddDelta, 9);
    EXPECT_EQ(k.m_SubWire.m_Wire.GetAddress(), 5);

    CGEStaticTxt text;
    text.m_strText = QStringLiteral("abc");
    text.m_nBkColor = 7;
    const auto tCopy = text.Clone();
    auto& t = static_cast<CGEStaticTxt&>(*tCopy);
    EXPECT_EQ(t.m_strText, QStringLiteral("abc"));
    EXPECT_EQ(t.m_nBkColor, 7u);

    CGEPicture picture;
    QImage image(2, 1, QImage::Format_RGB32);
    image.fill(Qt::red);
    picture.SetBitmap(image);
    picture.m_strFilePath = QStringLiteral("/x.bmp");
    const auto pCopy = picture.Clone();
    auto& p = static_cast<CGEPicture&>(*pCopy);
    EXPECT_EQ(p.m_Data, picture.m_Data);
    EXPECT_EQ(p.m_HeadBlock, picture.m_HeadBlock);
    EXPECT_TRUE(p.m_bCaptured);
    EXPECT_TRUE(p.m_strFilePath.isEmpty());
}

TEST(Register, SampleTexts) {
    struct Case {
        int integerBits, pointBits, format;
        const char* text;
    } const cases[] = {
        {5, 0, kFormatDec, "12345"},        {5, 2, kFormatDecSign, "-123.45"},
        {3, 3, kFormatDec, "0.123"},        {10, 0, kFormatDec, "1234567890"},
        {11, 2, kFormatDec, "123456789.1"}, {2, 4, kFormatHex, "0.12"},
    };
    for (const Case& c : cases) {
        CGERegister reg(nullptr);
        reg.m_byIntegerBits = static_cast<std::uint8_t>(c.integerBits);
        reg.m_byPointBits = static_cast<std::uint8_t>(c.pointBits);
        reg.m_nDataFormat = c.format;
        EXPECT_EQ(reg.SampleText(), QString::fromLatin1(c.text))
            << c.integerBits << "." << c.pointBits;
    }
}

TEST(Register, SizeFollowsTheSampleText) {
    CGERegister reg(nullptr);
    reg.m_byIntegerBits = 3;
    reg.RecalcSize();
    const int narrow = reg.m_nWidth;
    reg.m_byIntegerBits = 8;
    reg.RecalcSize();
    EXPECT_GT(reg.m_nWidth, narrow);
    EXPECT_GT(reg.m_nHeight, 0);
    EXPECT_LE(reg.m_nHeight, 32);
}

// Binds `address` to the register type of the unit catalog with `units` units.
void BindUnits(CPLCAddress& address, int units) {
    const char* name = units == 1 ? "B" : (units == 2 ? "W" : "L");
    for (const CPLCRegType* type : UnitPLC()->GetTypeList(PLC_WORD, PLC_ANY)) {
        if (type->GetTypeName() == QLatin1String(name)) {
            address.SetRegType(type, 0);
            address.SetRegNum(type->GetRegNumList().front());
        }
    }
    ASSERT_EQ(address.Encode().unitCount, units);
}

TEST(Limits, RegisterNormalization) {
    struct Case {
        int units, format;
        bool upper;
        std::int64_t rawUpper, rawLower;
        std::int64_t wantUpper, wantLower;
    } const cases[] = {
        {1, kFormatDec, true, 300, 0, 255, 0},
        {1, kFormatDecSign, false, 100, -500, 100, -128},
        {2, kFormatDec, true, 70000, 0, 65535, 0},
        {4, kFormatDec, true, 5000000000LL, 0, 4294967295LL, 0},
        {2, kFormatDec, false, 100, 500, 500, 500},
        {2, kFormatDec, true, 100, 500, 500, 500},
    };
    for (const Case& c : cases) {
        CGERegister reg(UnitPLC());
        BindUnits(reg.m_Reg, c.units);
        reg.m_nDataFormat = c.format;
        reg.m_nRawUpperLimit = reg.m_nEngUpperLimit = c.rawUpper;
        reg.m_nRawLowerLimit = reg.m_nEngLowerLimit = c.rawLower;
        c.upper ? reg.NormalizeUpperLimits() : reg.NormalizeLowerLimits();
        EXPECT_EQ(reg.m_nRawUpperLimit, c.wantUpper) << c.units << " " << c.rawUpper;
        EXPECT_EQ(reg.m_nRawLowerLimit, c.wantLower);
        EXPECT_EQ(reg.m_nEngUpperLimit, c.wantUpper);
        EXPECT_EQ(reg.m_nEngLowerLimit, c.wantLower);
    }
}

TEST(Limits, BarTrendAndDynamicTextRanges) {
    CGETrend trend(UnitPLC());
    BindUnits(trend.m_Reg, 1);
    trend.m_nDataFormat = kFormatDecSign;
    trend.m_nUpperLimit = 1000;
    trend.NormalizeUpperLimit();
    EXPECT_EQ(trend.m_nUpperLimit, 127);

    CGEBar bar(UnitPLC());
    BindUnits(bar.m_Reg, 2);
    bar.m_nLowerLimit = -5;
    bar.NormalizeLowerLimit();
    EXPECT_EQ(bar.m_nLowerLimit, 0);
    bar.m_nLowerLimit = 70000;
    bar.NormalizeLowerLimit();
    EXPECT_EQ(bar.m_nUpperLimit, 70000);

    CGEDynamicTxt dyn(UnitPLC());
    BindUnits(dyn.m_Reg, 2);
    dyn.m_nDataFormat = kFormatDecSign;
    EXPECT_EQ(dyn.GetValueRange().min, -32768);
    EXPECT_EQ(dyn.GetValueRange().max, 32767);
    EXPECT_TRUE(dyn.IsValueUsed(0));
    EXPECT_FALSE(dyn.IsValueUsed(1));
}

TEST(Limits, MultiStateNormalization) {
    struct Case {
        int units, format;
        std::int32_t upper, lower, add, sub;
        std::int32_t wantUpper, wantLower, wantAdd, wantSub;
    } const cases[] = {
        {1, kFormatDec, 300, -5, 500, -5, 255, 0, 255, 0},
        {1, kFormatDecSign, 300, -500, 500, -500, 127, -128, 127, -128},
        {4, kFormatDecSign, 300, -500, 70000, -70000, 300, -500, 32767, -32768},
        {4, kFormatDec, 2147483647, -1, 70000, 3, 2147483647, 0, 65535, 3},
    };
    for (const Case& c : cases) {
        CFuncSubMulStatus action(UnitPLC());
        BindUnits(action.m_Reg, c.units);
        action.m_nDataFormat = c.format;
        action.m_nUpperLimit = c.upper;
        action.m_nLowerLimit = c.lower;
        action.m_nAddDelta = c.add;
        action.m_nSubDelta = c.sub;
        action.NormalizeUpperLimit();
        action.NormalizeLowerLimit();
        action.NormalizeAddDelta();
        action.NormalizeSubDelta();
        EXPECT_EQ(action.m_nUpperLimit, c.wantUpper) << c.units << "/" << c.format;
        EXPECT_EQ(action.m_nLowerLimit, c.wantLower);
        EXPECT_EQ(action.m_nAddDelta, c.wantAdd);
        EXPECT_EQ(action.m_nSubDelta, c.wantSub);
    }
}

TEST(Bar, TurningChangesTheSizeOnlyBetweenAxes) {
    CGEBar bar(nullptr);
    bar.m_nWidth = 60;
    bar.m_nHeight = 90;
    bar.SetDrawDir(3);
    EXPECT_EQ(QSize(bar.m_nWidth, bar.m_nHeight), QSize(90, 60));
    bar.SetDrawDir(2);
    EXPECT_EQ(QSize(bar.m_nWidth, bar.m_nHeight), QSize(90, 60));
    bar.SetDrawDir(1);
    EXPECT_EQ(QSize(bar.m_nWidth, bar.m_nHeight), QSize(60, 90));
}

TEST(Pictures, LampNumbers) {
    struct Case {
        int shape, logic;
        bool reverse, isDouble;
        int id;
    } const cases[] = {
        {0, 0, false, false, 244}, {0, 0, true, false, 245},  {0, 1, false, false, 245},
        {0, 1, true, false, 244},  {1, 0, false, false, 247}, {1, 1, false, true, 148},
        {0, 1, false, true, 145},  {1, 0, true, true, 148},   {2, 0, false, false, 0},
    };
    for (const Case& c : cases) {
        CGEIndicator lamp(nullptr);
        lamp.m_nShape = c.shape;
        lamp.m_nLogic = c.logic;
        lamp.m_bReverse = c.reverse;
        lamp.m_bDouble = c.isDouble;
        EXPECT_EQ(lamp.LampBitmapId(), c.id) << c.shape << c.logic << c.reverse << c.isDouble;
    }
}

TEST(Pictures, KeyCodesAndNumbers) {
    struct Case {
        int comboBoxId, code;
        const char16_t* name;
    } const cases[] = {{0, 0, u"ESC"}, {2, 6, u"→"},    {8, 10, u"0"},   {9, 13, u"1"},
                       {13, 19, u"5"}, {18, 9, u"+/-"}, {19, 8, u"CLR"}, {20, 0, u""}};
    for (const Case& c : cases) {
        EXPECT_EQ(KeyCode(c.comboBoxId), c.code) << c.comboBoxId;
        EXPECT_EQ(KeyName(c.comboBoxId), QString::fromUtf16(c.name));
    }
    CGEFuncKey key(nullptr);
    EXPECT_EQ(key.m_nComboBoxID, 2);
    EXPECT_EQ(key.KeyBitmapId(), 2006);
    EXPECT_EQ(key.HandBitmapId(), 2020);
    key.m_bDouble = true;
    EXPECT_EQ(key.KeyBitmapId(), 3006);
    EXPECT_EQ(key.HandBitmapId(), 3020);
    key.m_nComboBoxID = 8;
    EXPECT_EQ(key.KeyBitmapId(), 3010);
}

TEST(Settings, ControlRegisterLayout) {
    using U = ControlRegister;
    struct Case {
        bool autoChange, report, clock, old;
        std::vector<std::pair<U::Use, int>> want;
    } const cases[] = {
        {true,
         false,
         true,
         false,
         {{U::kAutoChange, 100},
          {U::kSeconds, 101},
          {U::kMinutes, 102},
          {U::kHours, 103},
          {U::kDay, 104},
          {U::kMonth, 105},
          {U::kYear, 106},
          {U::kWeekday, 107}}},
        {true,
         true,
         true,
         true,
         {{U::kAutoChange, 100},
          {U::kReportFrame, 101},
          {U::kSeconds, 102},
          {U::kHourMinute, 103},
          {U::kMonthDay, 104},
          {U::kYearWeekday, 105}}},
        {false, true, false, true, {{U::kReportFrame, 100}}},
        {false, false, false, false, {}},
    };
    for (const Case& c : cases) {
        CKoravelSetting setting(CompactPLC());
        setting.m_Reg.SetAddress(100);
        setting.m_bAutoChange = c.autoChange;
        setting.m_bReportFrame = c.report;
        setting.m_bUseClock = c.clock;
        setting.m_bUseClockOld = c.old;
        std::vector<std::pair<U::Use, int>> got;
        for (const ControlRegister& reg : setting.ControlRegisters())
            got.emplace_back(reg.use, reg.address);
        EXPECT_EQ(got, c.want);
    }

    // Steps follow the type's address increment.
    CKoravelSetting wide(UnitPLC());
    BindUnits(wide.m_Reg, 4);
    wide.m_Reg.SetAddress(10);
    wide.m_bAutoChange = wide.m_bReportFrame = true;
    EXPECT_EQ(wide.ControlRegisters().at(1).address, 12);
}

TEST(Defaults, NewElementsAndObjects) {
    CGEDynamicTxt dyn(CompactPLC());
    EXPECT_EQ(dyn.FirstText().m_nValue, 0);
    EXPECT_EQ(dyn.FirstText().m_strContent, QStringLiteral("动态文字串"));
    EXPECT_EQ((*dyn.m_pTexts)[255].m_nID, 255);
    EXPECT_EQ((*dyn.m_pTexts)[255].m_nValue, -1);
    EXPECT_EQ(dyn.m_Reg.GetKind(), PLC_WORD);
    EXPECT_EQ(dyn.m_Reg.GetTypeName(), QStringLiteral("D"));

    CGEIndicator lamp(CompactPLC());
    EXPECT_EQ(lamp.m_Wire.GetKind(), PLC_BIT);
    EXPECT_EQ(lamp.m_Wire.GetMode(), PLC_READ);
    CFuncSubWire wire(CompactPLC());
    EXPECT_EQ(wire.m_Wire.GetMode(), PLC_READWRITE);
    CAlarmList alarms(CompactPLC());
    EXPECT_EQ(alarms.m_Alarm.GetKind(), PLC_ALARM);
    EXPECT_EQ(alarms.m_nFontSize, 16);
    CHMIFrame frame;
    EXPECT_EQ(frame.m_nBkColor, 0x00FFFFC0u);
    EXPECT_EQ(frame.m_nNextID, 2);
    CCommPara comm;
    EXPECT_EQ(comm.m_nBaudRate, 9600);
    CKoravelSetting setting(nullptr);
    EXPECT_TRUE(setting.m_bBackLight);
    EXPECT_EQ(setting.m_nWaitTime, 3);
    EXPECT_EQ(CGraphBase::CreateByType(9, nullptr), nullptr);
    EXPECT_EQ(CGraphBase::CreateByType(kTypeTrend, nullptr)->m_nTypeCode, kTypeTrend);
}

} // namespace
