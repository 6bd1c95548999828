#include "LargeProject.h"

#include "GEBar.h"
#include "GEFuncKey.h"
#include "GEIndicator.h"
#include "GEPicture.h"
#include "GERegister.h"
#include "GEStaticTxt.h"

#include <QImage>

#include <vector>

namespace {

constexpr int kTextsPerFrame = 20;
const int kSizes[] = {16, 24, 32, 48};
const QString kFaces[] = {QStringLiteral("宋体"), QStringLiteral("黑体")};

template <typename Element> Element& Add(CHMIFrame& frame, int typeCode, const CPLCEntity* plc) {
    return static_cast<Element&>(*frame.AddElement(CGraphBase::CreateByType(typeCode, plc)));
}

QImage Picture(int seed) {
    QImage image(480, 272, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x + seed) & 0xFF, (y * 3) & 0xFF, (x ^ y) & 0xFF));
    }
    return image;
}

} // namespace

char16_t Han(int k) {
    return static_cast<char16_t>(0x4E00 + k);
}

// Character k goes into a static text of face and size number k % 8.
std::unique_ptr<CKoravelProject> LargeProject(int glyphs, const CPLCEntity* plc) {
    auto project = std::make_unique<CKoravelProject>();
    project->m_pCurrentPLC = plc;
    const int texts = kLargeFrames * kTextsPerFrame;
    std::vector<QString> content(static_cast<std::size_t>(texts));
    // Text t uses face/size t % 8, so each character lands in a text of its own face and size.
    for (int k = 0; k < glyphs; ++k) {
        const int combo = k % 8;
        const int slot = (k / 8) % (texts / 8);
        content[static_cast<std::size_t>(slot * 8 + combo)] += QChar(Han(k));
    }
    for (int f = 0; f < kLargeFrames; ++f) {
        auto frame = std::make_unique<CHMIFrame>();
        frame->m_nID = static_cast<std::uint16_t>(f + 1);
        frame->m_strName = QStringLiteral("F%1").arg(f + 1);
        CHMIFrame& target = *project->InsertFrame(std::move(frame));
        for (int i = 0; i < kTextsPerFrame; ++i) {
            const int t = f * kTextsPerFrame + i;
            auto& text = Add<CGEStaticTxt>(target, kTypeStaticText, plc);
            text.m_strFontName = kFaces[t % 8 / 4];
            text.m_nFontSize = kSizes[t % 4];
            text.m_strText = content[static_cast<std::size_t>(t)] + QStringLiteral("Value:");
        }
        int others = kLargeElementsPerFrame - kTextsPerFrame;
        if (f < 10) {
            auto& picture = Add<CGEPicture>(target, kTypePicture, plc);
            picture.SetBitmap(Picture(f));
            picture.m_nWidth = 480;
            picture.m_nHeight = 272;
            --others;
        }
        for (int i = 0; i < others; ++i) {
            switch (i % 4) {
            case 0:
                Add<CGERegister>(target, kTypeRegister, plc).m_nFontSize = kSizes[i % 4];
                break;
            case 1:
                Add<CGEIndicator>(target, kTypeIndicator, plc);
                break;
            case 2:
                Add<CGEFuncKey>(target, kTypeFunctionKey, plc);
                break;
            default:
                Add<CGEBar>(target, kTypeBar, plc);
                break;
            }
        }
    }
    return project;
}
