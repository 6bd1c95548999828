// An element's memento: its exact state as the project file stores it, restored in place or
// into a new element, for every kind.

#include "GEBar.h"
#include "GEDynamicTxt.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"
#include "GETrend.h"
#include "ModelTestSupport.h"

#include <QImage>

#include <functional>

#include <gtest/gtest.h>

namespace {

// Binds `address` to the last type its kind and mode offer, so that it differs from a new one.
void BindLastType(CPLCAddress& address) {
    const auto types = CompactPLC()->GetTypeList(address.GetKind(), address.GetMode());
    ASSERT_FALSE(types.empty());
    address.SetRegType(types.back(), static_cast<int>(types.size()) - 1);
    address.SetStation(3);
    address.SetAddress(42);
}

void SetTextLook(CTextElement& e) {
    e.m_bDouble = true;
    e.m_bReverse = true;
    e.m_nSameColor = 0;
    e.m_nForeColor = 0x00123456;
    e.m_nBkColor = 0x00654321;
    e.m_strFontName = QStringLiteral("黑体");
    e.m_nFontSize = 24;
}

// Per kind, an element whose every stored member differs from a new element's, including the
// members that Clone leaves at their defaults.
struct KindCase {
    const char* name;
    std::function<std::unique_ptr<CGraphBase>()> make;
};

const KindCase kKinds[] = {
    {"static text",
     [] {
         auto e = std::make_unique<CGEStaticTxt>();
         SetTextLook(*e);
         e->m_strText = QStringLiteral("温度 <&>");
         // A rectangle that is not the text's extent: a file derives it anew, a memento not.
         e->SetRect(10, 20, 310, 60);
         return e;
     }},
    {"register",
     [] {
         auto e = std::make_unique<CGERegister>(CompactPLC());
         SetTextLook(*e);
         BindLastType(e->m_Reg);
         e->m_nComboBoxID = 1;
         e->m_nDataFormat = kFormatDecSign;
         e->m_byIntegerBits = 7;
         e->m_byPointBits = 2;
         e->m_bSetting = e->m_bHaveLimit = e->m_bFillZero = e->m_bEncrypt = true;
         e->m_nStyle = 2;
         e->m_byGrade = 3;
         e->m_nRawUpperLimit = 999;
         e->m_nRawLowerLimit = -5;
         e->m_nEngUpperLimit = 888;
         e->m_nEngLowerLimit = -6;
         e->m_nFrontZero = 0;
         e->m_nBorderColor = 0x00ABCDEF;
         e->m_nUseBorder = 2;
         e->SetRect(30, 40, 130, 72);
         return e;
     }},
    {"indicator",
     [] {
         auto e = std::make_unique<CGEIndicator>(CompactPLC());
         BindLastType(e->m_Wire);
         e->m_bDouble = e->m_bReverse = true;
         e->m_nLogic = 1;
         e->m_nShape = 1;
         e->m_nONColor = 1;
         e->m_nOFFColor = 2;
         e->SetRect(5, 6, 69, 70);
         return e;
     }},
    {"recipe key",
     [] {
         auto e = std::make_unique<CGEFuncKey>(CompactPLC());
         e->m_nType = kActionRecipe;
         BindLastType(e->m_SubRecipe.m_Reg);
         e->m_SubRecipe.m_nRadioID = 2;
         e->m_SubRecipe.m_nTransferLen = 7;
         e->m_SubRecipe.m_nTransferLimitUp = 100;
         e->m_SubRecipe.m_nTransferLimitDown = 50;
         e->m_nComboBoxID = 9;
         e->m_bDouble = e->m_bReverse = e->m_bHand = e->m_bHide = e->m_bVisible = true;
         e->m_byGrade = 2;
         e->SetRect(100, 100, 164, 132);
         return e;
     }},
    {"multi-state key",
     [] {
         auto e = std::make_unique<CGEFuncKey>(CompactPLC());
         e->m_nType = kActionMultiSet;
         BindLastType(e->m_SubMulStatus.m_Reg);
         e->m_SubMulStatus.m_nRadioID = 1;
         e->m_SubMulStatus.m_nDataFormat = kFormatDecSign;
         e->m_SubMulStatus.m_nLowerLimit = -100;
         e->m_SubMulStatus.m_nSubDelta = 4;
         e->m_nComboBoxID = 18;
         return e;
     }},
    {"picture",
     [] {
         auto e = std::make_unique<CGEPicture>();
         QImage image(3, 2, QImage::Format_RGB32);
         image.fill(qRgb(10, 200, 30));
         image.setPixel(1, 0, qRgb(255, 0, 0));
         e->SetBitmap(image);
         e->SetRect(7, 8, 10, 10);
         e->m_nSameColor = 0;
         return e;
     }},
    {"bar",
     [] {
         auto e = std::make_unique<CGEBar>(CompactPLC());
         BindLastType(e->m_Reg);
         e->m_bDouble = e->m_bReverse = true;
         e->m_nDataFormat = kFormatHex;
         e->m_nDrawDir = 2;
         e->m_nUpperLimit = 300;
         e->m_nLowerLimit = 3;
         e->m_nBkColor = 4;
         e->m_nForeColor = 5;
         e->SetRect(1, 2, 129, 34);
         return e;
     }},
    {"trend",
     [] {
         auto e = std::make_unique<CGETrend>(CompactPLC());
         BindLastType(e->m_Reg);
         e->m_bDouble = e->m_bReverse = true;
         e->m_nDataFormat = kFormatDecSign;
         e->m_nUpperLimit = 77;
         e->m_nLowerLimit = -77;
         e->m_nSamplingPoint = 40;
         e->m_nSamplingTime = 9;
         e->m_nBackColor = 6;
         e->m_nForeColor = 7;
         e->m_nPenColor = 8;
         e->SetRect(0, 100, 200, 200);
         return e;
     }},
    {"dynamic text",
     [] {
         auto e = std::make_unique<CGEDynamicTxt>(CompactPLC());
         SetTextLook(*e);
         BindLastType(e->m_Reg);
         e->m_nDataFormat = kFormatHex;
         (*e->m_pTexts)[0].m_strContent = QStringLiteral("停止");
         (*e->m_pTexts)[5].m_nValue = 5;
         (*e->m_pTexts)[5].m_strContent = QStringLiteral("five");
         e->SetRect(50, 60, 250, 92);
         return e;
     }},
};

TEST(Memento, EveryKindComesBackExactlyInPlaceAndAsANewElement) {
    for (const KindCase& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<CGraphBase> element = kind.make();
        const QString memento = element->Memento();
        const QString fresh =
            CGraphBase::CreateByType(element->m_nTypeCode, CompactPLC())->Memento();
        ASSERT_NE(memento, fresh);

        // Changed into a new element's state: nothing the file stores is left behind.
        ASSERT_TRUE(element->RestoreMemento(fresh, CompactPLC()));
        EXPECT_EQ(element->Memento(), fresh);

        ASSERT_TRUE(element->RestoreMemento(memento, CompactPLC()));
        EXPECT_EQ(element->Memento(), memento);

        const std::unique_ptr<CGraphBase> copy = CGraphBase::FromMemento(memento, CompactPLC());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->m_nTypeCode, element->m_nTypeCode);
        EXPECT_EQ(copy->Memento(), memento);
    }
}

TEST(Memento, AForeignOrDamagedMementoChangesNothing) {
    CGEBar bar(CompactPLC());
    bar.m_nDrawDir = 3;
    const QString before = bar.Memento();
    const QString text = CGEStaticTxt().Memento();
    // A picture whose header block is missing does not load.
    QString damaged = CGEPicture().Memento();
    damaged.replace(QStringLiteral("BMPHead"), QStringLiteral("Other"));
    CGEPicture picture;
    for (const QString& memento : {text, QStringLiteral("<Part ID=\"6\""), QString()}) {
        EXPECT_FALSE(bar.RestoreMemento(memento, CompactPLC())) << memento.toStdString();
        EXPECT_EQ(bar.Memento(), before);
    }
    EXPECT_FALSE(picture.RestoreMemento(damaged, nullptr));
    EXPECT_EQ(CGraphBase::FromMemento(damaged, nullptr), nullptr);
    EXPECT_EQ(CGraphBase::FromMemento(QStringLiteral("<Part ID=\"9\"/>"), nullptr), nullptr);
}

} // namespace
